// Keys and text boxes of the windows kit: KeyPress filters that swallow or replace
// keys (typed or committed by an input method), Alt with a letter that marks no
// button typing nothing, an Enter chain over three boxes,
// MaxLength only on what the user enters, Locked boxes that keep focus and keys,
// and the masked date box's prompt characters.
#include "platform/forms/buttons.h"
#include "platform/forms/form.h"
#include "platform/forms/textbox.h"

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QClipboard>
#include <QtTest>

using namespace forms;

namespace {

void commit(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(widget, &event);
}

}  // namespace

class FormsKeysTest : public QObject {
    Q_OBJECT

private slots:
    // KeyPress sees every character typed, sent to the control or committed by an input
    // method, plus Backspace and Escape; a swallowed key never reaches the box and a
    // replaced one types the new character.
    void keyPressFiltersWhatReachesTheBox()
    {
        TextBox box;
        QString seen;
        box.KeyPress = [&](int& k) {
            seen.append(QChar(k));
            EnterPressed(k);   // the rule of most boxes: space and Enter swallowed
            if (k >= 'a' && k <= 'z') k -= 32;
        };
        box.show();
        QTest::keyClicks(box.lineEdit(), "a b");
        QTest::keyClick(box.lineEdit(), Qt::Key_Return);
        QTest::keyClicks(&box, " d");
        QCOMPARE(box.Text(), QString("ABD"));
        QCOMPARE(seen, QString("a b\r d"));
        commit(box.lineEdit(), QStringLiteral("当 归"));
        QCOMPARE(box.Text(), QStringLiteral("ABD当归"));
        seen.clear();
        QTest::keyClick(box.lineEdit(), Qt::Key_Backspace);
        QTest::keyClick(box.lineEdit(), Qt::Key_Escape);
        QTest::keyClick(box.lineEdit(), Qt::Key_Left);     // no character: no KeyPress
        QCOMPARE(seen, QString(QChar(vbKeyBack)) + QChar(vbKeyEscape));
        QCOMPARE(box.Text(), QStringLiteral("ABD当"));

        // Multi-line: Enter swallowed means no new line; lines are joined by CR LF.
        TextBox notes(nullptr, TextBox::Lines::Multi);
        notes.KeyPress = [](int& k) { EnterPressed(k); };
        QTest::keyClicks(notes.plainTextEdit(), "x y");
        QTest::keyClick(notes.plainTextEdit(), Qt::Key_Return);
        QCOMPARE(notes.Text(), QString("xy"));
        notes.setText("one\r\ntwo");
        QCOMPARE(notes.Text(), QString("one\r\ntwo"));
    }

    // Three boxes chained by Enter: a filled box moves the focus on, to the next box
    // with its text selected.
    void enterMovesAlongTheChainOnlyFromAFilledBox()
    {
        auto& form = *new Form(Form::Placement::TopLevel);   // deletes itself on Unload
        form.setWindowButtons(Form::WindowButtons::None);
        TextBox* boxes[] = {new TextBox(&form), new TextBox(&form), new TextBox(&form)};
        for (int i = 0; i < 3; ++i) {
            boxes[i]->Move(100, 100 + 400 * i, 1500, 300);
            boxes[i]->KeyPress = [box = boxes[i], next = boxes[(i + 1) % 3]](int& keyAscii) {
                if (EnterPressed(keyAscii) && !box->Text().trimmed().isEmpty()) next->SetFocusSelectAll();
            };
        }
        form.Show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        boxes[0]->SetFocus();
        QTest::keyClick(boxes[0]->lineEdit(), Qt::Key_Return);
        QVERIFY(boxes[0]->hasFocusNow());          // empty: the focus stays

        boxes[2]->setText("old");
        for (int i = 0; i < 3; ++i) {
            QTest::keyClicks(boxes[i]->lineEdit(), "a");
            QTest::keyClick(boxes[i]->lineEdit(), Qt::Key_Return);
            QVERIFY(boxes[(i + 1) % 3]->hasFocusNow());
        }
        QCOMPARE(boxes[2]->Text(), QString("a"));   // it arrived with its text selected
        form.Unload();
    }

    // Alt with a letter that marks no button types nothing, in one-line and multi-line
    // boxes alike; with a button's letter it presses the button; the letter alone types.
    void altLetterTypesNothingIntoABox()
    {
        auto& form = *new Form(Form::Placement::TopLevel);   // deletes itself on Unload
        form.setWindowButtons(Form::WindowButtons::None);
        auto* name = new TextBox(&form);
        auto* notes = new TextBox(&form, TextBox::Lines::Multi);
        auto* save = new CommandButton(&form, QStringLiteral("保存&B"));
        name->Move(100, 100, 1500, 300);
        notes->Move(100, 500, 1500, 900);
        save->Move(100, 1500, 1500, 400);
        int saved = 0;
        save->Click = [&saved] { ++saved; };
        form.Show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        name->SetFocus();
        QTest::keyClick(name->lineEdit(), Qt::Key_E, Qt::AltModifier);
        notes->SetFocus();
        QTest::keyClick(notes->plainTextEdit(), Qt::Key_E, Qt::AltModifier);
        QCOMPARE(name->Text() + notes->Text(), QString());
        name->SetFocus();
        QTest::keyClick(name->lineEdit(), Qt::Key_B, Qt::AltModifier);
        QCOMPARE(saved, 1);
        name->SetFocus();
        QTest::keyClick(name->lineEdit(), Qt::Key_E);
        QCOMPARE(name->Text(), QString("e"));
        form.Unload();
    }

    // MaxLength holds for what the user types, pastes or commits, in single and
    // multi-line boxes alike, never for a text the program sets.
    void maxLengthLimitsOnlyWhatTheUserEnters()
    {
        for (const auto lines : {TextBox::Lines::Single, TextBox::Lines::Multi}) {
            TextBox box(nullptr, lines);
            QWidget* editor = box.inner();
            box.setMaxLength(5);
            QTest::keyClicks(editor, "abcdefg");
            QCOMPARE(box.Text(), QString("abcde"));
            box.setText("");
            commit(editor, QStringLiteral("一二三四五六"));
            QCOMPARE(box.Text(), QStringLiteral("一二三四五"));

            // A paste in the middle keeps what was there and drops the overflow.
            box.setText("ab");
            box.setSelStart(1);
            QApplication::clipboard()->setText("XYZW");
            QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(box.Text(), QString("aXYZb"));

            // A longer text the program loads stays whole: the user cannot lengthen
            // it, only shorten it.
            box.setText("0123456789");
            box.setSelStart(10);
            QTest::keyClicks(editor, "x");
            QCOMPARE(box.Text(), QString("0123456789"));
            QTest::keyClick(editor, Qt::Key_Backspace);
            box.setMaxLength(2);
            QCOMPARE(box.Text(), QString("012345678"));
        }
    }

    // A locked box takes the focus, its selection and KeyPress, but no typed or
    // committed text; a selection is clipped to the text.
    void lockedBoxesKeepFocusSelectionAndKeys()
    {
        auto& form = *new Form(Form::Placement::TopLevel);   // deletes itself on Unload
        form.setWindowButtons(Form::WindowButtons::None);
        TextBox* boxes[] = {new TextBox(&form), new TextBox(&form, TextBox::Lines::Multi)};
        int keys = 0;
        for (TextBox* box : boxes) {
            box->setText("fixed text");
            box->setLocked(true);
            box->KeyPress = [&](int&) { ++keys; };
        }
        form.Show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        for (TextBox* box : boxes) {
            box->SetFocus();
            QVERIFY(box->hasFocusNow());
            QTest::keyClicks(box->inner(), "x");
            commit(box->inner(), QStringLiteral("甲"));
            QCOMPARE(box->Text(), QString("fixed text"));
            box->setSelStart(6);
            box->setSelLength(99);
            QCOMPARE(box->SelText(), QString("text"));
        }
        QCOMPARE(keys, 4);
        form.Unload();
    }

    void maskedDateBoxKeepsItsPromptCharacters()
    {
        MaskEdBox date;
        date.setMask("####-##-##");
        QCOMPARE(date.Text(), QString("____-__-__"));
        date.lineEdit()->home(false);
        QTest::keyClicks(date.lineEdit(), "2024");
        QCOMPARE(date.Text(), QString("2024-__-__"));
        QTest::keyClicks(date.lineEdit(), "x");      // not a digit: refused
        QCOMPARE(date.Text(), QString("2024-__-__"));

        date.setPromptChar('#');
        QCOMPARE(date.Text(), QString("2024-##-##"));
    }
};

QTEST_MAIN(FormsKeysTest)
#include "forms_keys_test.moc"
