// Permission checks in tests: root passes every one, so a test that makes a file or a
// folder unreadable or unwritable runs that part as an ordinary user. When the tests run
// as root, the scope hands `dir` (with everything under it) to the account "nobody" and
// takes that identity until it ends; as any other user it does nothing.
#pragma once

#include <QString>

class OrdinaryUser {
public:
    explicit OrdinaryUser(const QString& dir);
    ~OrdinaryUser();
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

private:
    bool switched_ = false;
};
