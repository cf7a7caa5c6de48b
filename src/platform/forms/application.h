// Application: the program's QApplication. Every window traps the errors of its own
// handlers; an error that still reaches the event loop is reported here in the
// "错误号码：" form and the event is dropped, so the program never ends on an error.
// It also gives the program its fonts: the windows ask for 宋体, and on a desktop
// without it a Chinese font of the same reading stands in under that name, so that
// Chinese text is drawn by one font rather than looked up character by character.
#pragma once

#include <QApplication>

namespace forms {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace forms
