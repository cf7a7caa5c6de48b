// The help round trip between a working window and FrmHelp, and the help texts.
#include "core/globals.h"
#include "core/help_texts.h"
#include "core/help_window.h"
#include "core/main_window.h"
#include "platform/forms/textbox.h"

#include <QApplication>
#include <QTest>

namespace {

class CallingWindow : public forms::Form {
public:
    CallingWindow() { setWindowButtons(WindowButtons::None); }
    int activations = 0;

protected:
    void Form_Activate() override { ++activations; }
};

core::FrmHelp* openHelpWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<core::FrmHelp*>(widget); help && help->isVisible())
            return help;
    return nullptr;
}

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        mainWindow_ = std::make_unique<core::MDIFqhmz>();
        mainWindow_->show();
    }

    void cleanup()
    {
        if (core::FrmHelp* help = openHelpWindow()) help->Unload();
        mainWindow_.reset();
        core::HelpTopic.clear();
    }

    void helpDisablesTheCallerAndHandsBackOnClose()
    {
        auto* caller = new CallingWindow;
        caller->Show();
        QTRY_VERIFY(caller->activations >= 1);
        const int activationsBefore = caller->activations;

        core::ShowHelpFor(caller, QStringLiteral("BM"));
        core::FrmHelp* help = openHelpWindow();
        QVERIFY(help);
        QVERIFY(!caller->isEnabled());
        QCOMPARE(core::HelpTopic, QStringLiteral("BM"));
        QCOMPARE(help->TxtHelp->Text(), core::helpTextFor(QStringLiteral("BM")).replace(u'\n', QStringLiteral("\r\n")));

        help->close();   // its close box
        QTRY_VERIFY(openHelpWindow() == nullptr);
        QVERIFY(caller->isEnabled());
        QTRY_VERIFY(caller->activations > activationsBefore);
        QCoreApplication::processEvents();                      // the main window's own re-activation
        QCOMPARE(caller->activations, activationsBefore + 1);   // once: a reset runs once
        QVERIFY(core::HelpTopic.isEmpty());
    }

    // Every code has a text of its own; an unknown code shows an empty box.
    void eachCodeHasItsOwnText()
    {
        QSet<QString> texts;
        for (const char* code : {"BM", "YCKC", "YC", "Y-C", "F-J", "FJ", "ZD", "CY", "XY", "C-Y"}) {
            const QString text = core::helpTextFor(code);
            QVERIFY2(!text.isEmpty() && !texts.contains(text), code);
            texts.insert(text);
        }
        QCOMPARE(core::helpTextFor(QStringLiteral("NONE")), QString());
    }

private:
    std::unique_ptr<core::MDIFqhmz> mainWindow_;
};

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
