// The help round trip between a working window and FrmHelp, and the progress window
// as its callers find it when it loads.
#include "core/globals.h"
#include "core/help_texts.h"
#include "core/help_window.h"
#include "core/main_window.h"
#include "core/progress_window.h"
#include "platform/forms/buttons.h"
#include "platform/forms/progressbar.h"
#include "platform/forms/textbox.h"

#include <QApplication>
#include <QTest>

namespace {

class CallingWindow : public forms::Form {
public:
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
        QVERIFY(help->TxtHelp->Locked());

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
        const QStringList codes = {"BM", "YCKC", "YC", "Y-C", "F-J", "FJ", "ZD", "CY", "XY", "C-Y"};
        QSet<QString> texts;
        for (const QString& code : codes) {
            QVERIFY2(!core::helpTextFor(code).isEmpty(), qPrintable(code));
            texts.insert(core::helpTextFor(code));
        }
        QCOMPARE(texts.size(), codes.size());
        QCOMPARE(core::helpTextFor(QStringLiteral("NONE")), QString());
    }

    void progressWindowStartsEmptyOnTopWithoutClose();

private:
    std::unique_ptr<core::MDIFqhmz> mainWindow_;
};

void HelpWindowTest::progressWindowStartsEmptyOnTopWithoutClose()
{
    auto* progress = new core::Frmjdys;
    progress->ProgBar->setValue(40);
    progress->Labpre->setCaption(QStringLiteral("40%"));
    progress->Show();

    QCOMPARE(progress->ProgBar->Value(), 0.0);
    QCOMPARE(progress->Labpre->Caption(), QString());
    QCOMPARE(progress->Labprg->Caption(), QString());
    QVERIFY(progress->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!progress->CloseBox());
    QVERIFY(progress->windowFlags().testFlag(Qt::FramelessWindowHint));   // no title bar to put buttons on
    progress->Unload();
}

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
