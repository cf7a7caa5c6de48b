// The smaller controls: option buttons clicked only by the user and chosen by arrow
// keys focus first, the progress bar held
// at its end, focus events, an editable combo that keeps what is typed, and
// the animation control: the generated working clip reads back frame for frame, and a
// missing, damaged or compressed clip fails quietly (Open reports false, Play starts nothing).
#include "platform/forms/animation.h"
#include "platform/forms/buttons.h"
#include "platform/forms/form.h"
#include "platform/forms/lists.h"
#include "platform/forms/progressbar.h"
#include "platform/forms/textbox.h"
#include "support/test_environment.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace forms;

class FormsControlsTest : public QObject {
    Q_OBJECT

private slots:
    // Click fires for the user's click, never for a value set from code.
    void optionButtonsClickOnlyForTheUser()
    {
        QWidget window;
        auto* backup = new OptionButton(&window, "备份数据");
        auto* restore = new OptionButton(&window, "恢复数据");
        int clicks = 0;
        restore->Click = [&] { ++clicks; };
        restore->setValue(true);
        backup->setValue(true);
        QTest::mouseClick(restore->radioButton(), Qt::LeftButton);
        QCOMPARE(clicks, 1);
        QVERIFY(!backup->Value());
    }

    // An arrow key chooses the next option round the end, skipping a disabled one, and
    // fires its Click after the focus has come to it: a Click that sends the focus to
    // a box leaves it there.
    void arrowKeysChooseTheNextOptionBeforeItsClick()
    {
        auto& form = *new Form(Form::Placement::TopLevel);
        form.setWindowButtons(Form::WindowButtons::None);
        auto* path = new TextBox(&form);
        auto* backup = new OptionButton(&form, "备份数据");
        auto* off = new OptionButton(&form, "停用");
        auto* restore = new OptionButton(&form, "恢复数据");
        for (auto* option : {backup, off, restore}) option->Move(0, 600, 1500, 300);
        off->setEnabled(false);
        QStringList clicks;
        backup->Click = [&] { clicks << "backup"; };
        restore->Click = [&] {
            clicks << "restore";
            path->SetFocus();
        };
        backup->setValue(true);
        form.Show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        backup->SetFocus();
        QTest::keyClick(backup->radioButton(), Qt::Key_Right);
        QVERIFY(restore->Value() && !backup->Value());
        QVERIFY(path->hasFocusNow());
        QTest::keyClick(restore->radioButton(), Qt::Key_Down);   // round the end
        QVERIFY(backup->Value() && backup->hasFocusNow());
        QTest::keyClick(backup->radioButton(), Qt::Key_Up);
        QVERIFY(restore->Value());
        QCOMPARE(clicks, (QStringList{"restore", "backup", "restore"}));
        form.Unload();
    }

    void progressClampsAtTheEnd()
    {
        ProgressBar bar;
        bar.setValue(100.4);                                 // a step's rounding beyond 100
        QCOMPARE(bar.progressBar()->value(), bar.progressBar()->maximum());
    }

    void focusEventsComeOncePerControlAndAnEditableComboKeepsWhatIsTyped()
    {
        auto& form = *new Form(Form::Placement::TopLevel);
        form.setWindowButtons(Form::WindowButtons::None);
        auto* combo = new ComboBox(&form);
        auto* box = new TextBox(&form);
        box->Move(0, 600, 1500, 300);
        QStringList events;
        combo->GotFocus = [&] { events << "combo"; };
        box->GotFocus = [&] { events << "box"; };
        form.Show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        for (Control* control : std::initializer_list<Control*>{combo, box, combo}) control->SetFocus();
        QCOMPARE(events, (QStringList{"combo", "box", "combo"}));   // the combo's editor and the combo: one event

        combo->setItems({"Anemarrhena", "Angelica"});
        QStringList atEnter;
        combo->KeyPress = [&](int& keyAscii) {
            if (EnterPressed(keyAscii)) atEnter << combo->Text();
        };

        // No completion from the list: a query criterion stays the part typed.
        QTest::keyClicks(combo->comboBox()->lineEdit(), "ane");
        QTest::keyClick(combo->comboBox()->lineEdit(), Qt::Key_Return);
        QCOMPARE(atEnter, QStringList{"ane"});               // once, though editor and combo both see it
        QCOMPARE(combo->ListCount(), 2);                      // and nothing typed joins the list
        form.Unload();
    }

    void theWorkingClipRoundTripsAndBadClipsFailQuietly()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath("good.avi");
        const AviClip made = makeWorkingClip(30, 9, 5);    // odd sizes: padded rows
        QVERIFY(writeAvi(good, made));
        AviClip read;
        QVERIFY(readAvi(good, read));
        QCOMPARE(read.frames.size(), made.frames.size());
        for (std::size_t i = 0; i < made.frames.size(); ++i)
            QCOMPARE(read.frames[i], made.frames[i].convertToFormat(QImage::Format_RGB32));
        Animation player;
        QVERIFY(player.Open(good));
        player.Play();
        QVERIFY(player.isPlaying());

        const QByteArray bytes = TestEnvironment::bytesOf(good);
        QByteArray compressed = bytes;                      // biCompression = 'MJPG'
        compressed.replace(compressed.indexOf("strf") + 8 + 16, 4, "MJPG");
        QByteArray huge = bytes;                            // a chunk longer than the file
        huge.replace(huge.indexOf("00db") + 4, 4, QByteArray("\xff\xff\xff\x7f", 4));
        const std::pair<const char*, QByteArray> clips[] = {
            {"cut", bytes.left(bytes.size() / 2)}, {"text", "not a clip at all"}, {"mjpg", compressed}, {"huge", huge}, {"nowhere/missing", {}}};
        for (const auto& [name, content] : clips) {
            const QString path = dir.filePath(QLatin1String(name) + QStringLiteral(".avi"));
            if (!content.isEmpty()) QVERIFY(TestEnvironment::writeBytes(path, content));
            Animation bad;
            QVERIFY2(!bad.Open(path), name);
            bad.Play();
            QVERIFY2(!bad.isPlaying(), name);
        }
        QVERIFY(!writeAvi(dir.filePath("nowhere/out.avi"), made));
    }
};

QTEST_MAIN(FormsControlsTest)
#include "forms_controls_test.moc"
