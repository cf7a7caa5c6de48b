// The smaller controls: option buttons grouped by container, the progress bar's
// real-valued range, focus events, picks in combo and list boxes, and
// the animation control: the generated working clip reads back frame for frame, and a
// missing, damaged or compressed clip fails quietly (Open reports false, Play starts nothing).
#include "platform/file_bytes.h"
#include "platform/forms/animation.h"
#include "platform/forms/buttons.h"
#include "platform/forms/form.h"
#include "platform/forms/lists.h"
#include "platform/forms/progressbar.h"
#include "platform/forms/textbox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace forms;

class FormsControlsTest : public QObject {
    Q_OBJECT

private slots:
    void optionButtonsAreGroupedByTheirContainer()
    {
        QWidget window;
        auto* backup = new OptionButton(&window, "备份数据");
        auto* restore = new OptionButton(&window, "恢复数据");
        auto* frame = new Frame(&window, "报表");
        auto* inFrame = new OptionButton(frame->container(), "药品入库");
        int clicks = 0;
        restore->Click = [&] { ++clicks; };
        backup->setValue(true);
        inFrame->setValue(true);
        QCOMPARE(clicks, 0);                                 // set from code: no Click

        QTest::mouseClick(restore->radioButton(), Qt::LeftButton);
        QCOMPARE(clicks, 1);
        QVERIFY(restore->Value());
        QVERIFY(!backup->Value());
        QVERIFY(inFrame->Value());                           // another group
    }

    void progressTakesRealValuesAndClampsAtTheEnds()
    {
        ProgressBar bar;
        bar.setValue(32.6667);
        QCOMPARE(bar.Value(), 32.6667);
        QCOMPARE(bar.progressBar()->value(), 327);
        bar.setValue(100.4);                                 // a step's rounding beyond 100
        QCOMPARE(bar.progressBar()->value(), bar.progressBar()->maximum());
        bar.setValue(-3);
        QCOMPARE(bar.progressBar()->value(), 0);
        bar.setRange(0, 50);
        bar.setValue(25);
        QCOMPARE(bar.progressBar()->value(), 500);
    }

    void focusEventsComeOncePerControlAndAnEditableComboKeepsWhatIsTyped()
    {
        auto& form = *new Form(Form::Placement::TopLevel);
        auto* combo = new ComboBox(&form);
        auto* box = new TextBox(&form);
        box->Move(0, 600, 1500, 300);
        QStringList events;
        combo->GotFocus = [&] { events << "combo in"; };
        combo->LostFocus = [&] { events << "combo out"; };
        box->GotFocus = [&] { events << "box in"; };
        form.Show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        combo->SetFocus();
        box->SetFocus();
        QCOMPARE(events, (QStringList{"combo in", "combo out", "box in"}));

        combo->setItems({"Anemarrhena", "Angelica"});
        QString atEnter;
        combo->KeyPress = [&](int& keyAscii) {
            if (EnterPressed(keyAscii)) atEnter = combo->Text();
        };
        combo->SetFocus();

        // No completion from the list: a query criterion stays the part typed.
        QTest::keyClicks(combo->comboBox()->lineEdit(), "ane");
        QCOMPARE(combo->Text(), QStringLiteral("ane"));
        QTest::keyClick(combo->comboBox()->lineEdit(), Qt::Key_Return);
        QCOMPARE(atEnter, QStringLiteral("ane"));
        QCOMPARE(combo->ListCount(), 2);                      // and nothing typed joins the list
        form.Unload();
    }

    void picksInCombosAndLists()
    {
        ComboBox combo(nullptr, ComboBox::Style::DropDownList);
        combo.AddItem("内科");
        combo.AddItem("外科");
        int picks = 0;
        combo.Click = [&] { ++picks; };
        emit combo.comboBox()->activated(0);                 // the user's pick from the list
        QCOMPARE(picks, 1);

        ListBox list;
        list.resize(200, 200);
        list.setItems({"当归", "黄芪"});
        QCOMPARE(list.ListIndex(), -1);
        QCOMPARE(list.Text(), QString());
        int clicks = 0;
        list.Click = [&] { ++clicks; };
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const QRect second = list.listWidget()->visualItemRect(list.listWidget()->item(1));
        QTest::mouseClick(list.listWidget()->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(clicks, 1);
        QCOMPARE(list.Text(), QStringLiteral("黄芪"));
    }

    void theWorkingClipRoundTrips()
    {
        QTemporaryDir dir;
        const auto path = [&dir](const char* name) { return dir.filePath(QLatin1String(name)); };
        const AviClip made = makeWorkingClip(30, 9, 5);    // odd sizes: padded rows
        QVERIFY(writeAvi(path("working.avi"), made));
        AviClip read;
        QVERIFY(readAvi(path("working.avi"), read));
        QCOMPARE(read.frames.size(), made.frames.size());
        QCOMPARE(read.frameMicroseconds, made.frameMicroseconds);
        for (std::size_t i = 0; i < made.frames.size(); ++i)
            QCOMPARE(read.frames[i], made.frames[i].convertToFormat(QImage::Format_RGB32));
        QVERIFY(made.frames.front() != made.frames.back());   // the bar moves

        QVERIFY(writeWorkingAvi(path("default.avi")));
        Animation player;
        QVERIFY(player.Open(path("default.avi")));
        QVERIFY(player.frameCount() > 1);
        player.Play();
        QVERIFY(player.isPlaying());
        player.Stop();
        QVERIFY(!player.isPlaying());
    }

    void badClipsFailQuietly()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath("good.avi");
        QVERIFY(writeWorkingAvi(good));
        const QByteArray bytes = testing::bytesOf(good);
        QByteArray compressed = bytes;                      // biCompression = 'MJPG'
        compressed.replace(compressed.indexOf("strf") + 8 + 16, 4, "MJPG");
        QByteArray huge = bytes;                            // a chunk longer than the file
        huge.replace(huge.indexOf("00db") + 4, 4, QByteArray("\xff\xff\xff\x7f", 4));
        const std::pair<const char*, QByteArray> clips[] = {
            {"cut", bytes.left(bytes.size() / 2)}, {"text", "not a clip at all"}, {"mjpg", compressed}, {"huge", huge}, {"nowhere/missing", {}}};
        for (const auto& [name, content] : clips) {
            const QString path = dir.filePath(QLatin1String(name) + QStringLiteral(".avi"));
            if (!content.isEmpty()) QVERIFY(testing::writeBytes(path, content));
            AviClip clip;
            QVERIFY2(!readAvi(path, clip), name);
            QVERIFY2(clip.frames.empty(), name);
            Animation player;
            QVERIFY2(!player.Open(path), name);
            player.Play();
            QVERIFY(!player.isPlaying());
            player.Stop();
        }
        QVERIFY(!writeAvi(dir.filePath("nowhere/out.avi"), makeWorkingClip()));
    }
};

QTEST_MAIN(FormsControlsTest)
#include "forms_controls_test.moc"
