// The one way a long batch shows its progress in Frmjdys (the dictionary builders,
// the symptom refill, the settlement). Made before the batch's transaction opens, it
// shows the window and lets events run until the window can be drawn; from then on no
// event runs: the batch notes where it stands as often as it likes, and the bar and
// the percentage are set and what changed drawn only once a time slice and at the
// start and end of each stage, so the transaction stays closed to every other handler
// and a long batch does not spend its time repainting. The window never takes the
// activation, so the window the user worked in keeps it. Going, it unloads the window
// and lets events run; `close` unloads it earlier, without running events.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>


namespace core {

class Frmjdys;

// Where a batch stands: the bar's value and the percentage label.
struct ProgressPlace {
    double bar;
    QString label;
};

class ProgressDriver {
public:
    ProgressDriver();
    ~ProgressDriver();
    ProgressDriver(const ProgressDriver&) = delete;
    ProgressDriver& operator=(const ProgressDriver&) = delete;

    // A stage starts: what was noted is drawn, then the stage text is set (with the
    // bar and the percentage, when given) and drawn at once.
    void beginStage(const QString& stageText, const std::optional<ProgressPlace>& at = std::nullopt);
    // Where the batch stands; `place` is asked and drawn once the time slice has run
    // out, or at the next flush.
    void note(std::function<ProgressPlace()> place);
    // Draws the last noted place now (a stage's end).
    void flush();
    // Unloads the window; no event runs.
    void close();

    // Installed for its lifetime: every noted place is drawn at once, so that a test
    // sees each of them painted.
    class TestHook {
    public:
        TestHook();
        ~TestHook();
        TestHook(const TestHook&) = delete;
        TestHook& operator=(const TestHook&) = delete;
    };

private:
    void waitUntilDrawable();
    void draw();

    QPointer<Frmjdys> window_;
    QElapsedTimer slice_;
    std::function<ProgressPlace()> pending_;   // noted and not drawn yet
};

}  // namespace core
