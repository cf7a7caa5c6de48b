// For tests only: fails the Nth write statement after it is armed, so a test can break
// a save, a charge or a copy at every step and check that nothing half-done is left.
// A countdown, as SQLite's own fault tests run theirs: arm(n) lets n-1 write statements
// through and makes the nth throw the layer's usual dao::Error, exactly where a real
// refusal of the engine would throw it (the statement's step), then disarms itself.
// Write statements are the ones that change the file or the schema (insert, update,
// delete, create, drop); BEGIN, COMMIT, ROLLBACK and reads are never counted.
//
//   for (int n = 1;; ++n) {
//       dao::WriteFault::arm(n);
//       run the save;                   // its error path runs for every n that fires
//       if (!dao::WriteFault::fired()) break;   // the save got through all its writes
//       check that nothing was written;
//   }
//   dao::WriteFault::disarm();
//
// The program never arms it. It sits beside the other way tests fail a write (a
// trigger that raises), which fails a chosen table's rows instead of a count.
#pragma once

namespace dao {

class WriteFault {
public:
    // The nth write statement from now fails (n >= 1); any other n disarms.
    static void arm(int n);
    static void disarm();
    // Whether the armed countdown reached its statement since the last arm().
    static bool fired();
    // The error the failing statement throws: number 3043, "磁盘或网络读写错误。".
    static constexpr int errorNumber = 3043;

    // Called by the layer before each write statement runs; throws when it is the one.
    static void beforeWrite();
};

}  // namespace dao
