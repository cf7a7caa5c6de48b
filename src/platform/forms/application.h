// Application: the program's QApplication. Every window traps the errors of its own
// handlers; an error that still reaches the event loop is reported here in the
// "错误号码：" form and the event is dropped, so the program never ends on an error.
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
