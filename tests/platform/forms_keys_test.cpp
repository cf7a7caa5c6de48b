// Keys and text boxes of the windows kit: KeyPress filters that swallow or replace
// keys (typed or committed by an input method), an Enter chain over three boxes,
// MaxLength in multi-line boxes, Locked boxes that keep focus and keys, selections,
// the masked date box's prompt characters, and the Default button.
#include "platform/forms/buttons.h"
#include "platform/forms/form.h"
#include "platform/forms/lists.h"
#include "platform/forms/textbox.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QClipboard>
#include <QtTest>

using namespace forms;

namespace {

// Swallows the space everywhere and Enter, as most boxes of the windows do.
void swallowSpaceAndEnter(int& keyAscii)
{
    if (keyAscii == vbKeySpace || keyAscii == vbKeyReturn) keyAscii = 0;
}

void commit(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(widget, &event);
}

// A window with three boxes chained by Enter: a filled box moves the focus on.
class ChainForm : public Form {
public:
    ChainForm() : Form(Placement::TopLevel)
    {
        first->KeyPress = [this](int& k) { chain(k, first, second); };
        second->KeyPress = [this](int& k) { chain(k, second, third); };
        third->KeyPress = [this](int& k) { chain(k, third, first); };
        setClientSize(6000, 3000);
        first->Move(100, 100, 1500, 300);
        second->Move(100, 500, 1500, 300);
        third->Move(100, 900, 1500, 300);
    }
    void chain(int& keyAscii, TextBox* box, TextBox* next)
    {
        if (keyAscii == vbKeySpace) keyAscii = 0;
        if (keyAscii != vbKeyReturn) return;
        keyAscii = 0;
        if (!box->Text().trimmed().isEmpty()) next->SetFocusSelectAll();
    }
    TextBox* first = new TextBox(this);
    TextBox* second = new TextBox(this);
    TextBox* third = new TextBox(this);
};

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
            swallowSpaceAndEnter(k);
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
        commit(box.lineEdit(), QStringLiteral("片"));      // nothing swallowed: untouched
        QCOMPARE(box.Text(), QStringLiteral("ABD当归片"));
        seen.clear();
        QTest::keyClick(box.lineEdit(), Qt::Key_Backspace);
        QTest::keyClick(box.lineEdit(), Qt::Key_Escape);
        QTest::keyClick(box.lineEdit(), Qt::Key_Left);     // no character: no KeyPress
        QCOMPARE(seen, QString(QChar(vbKeyBack)) + QChar(vbKeyEscape));
        QCOMPARE(box.Text(), QStringLiteral("ABD当归"));

        // Multi-line: Enter swallowed means no new line; lines are joined by CR LF.
        TextBox notes(nullptr, TextBox::Lines::Multi);
        notes.KeyPress = swallowSpaceAndEnter;
        QTest::keyClicks(notes.plainTextEdit(), "x y");
        QTest::keyClick(notes.plainTextEdit(), Qt::Key_Return);
        QCOMPARE(notes.Text(), QString("xy"));
        notes.setText("one\r\ntwo");
        QCOMPARE(notes.plainTextEdit()->toPlainText(), QString("one\ntwo"));
        QCOMPARE(notes.Text(), QString("one\r\ntwo"));
    }

    void enterMovesAlongTheChainOnlyFromAFilledBox()
    {
        auto& form = *new ChainForm;
        form.Show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.first->SetFocus();
        QTest::keyClick(form.first->lineEdit(), Qt::Key_Return);
        QVERIFY(form.first->hasFocusNow());          // empty: the focus stays

        QTest::keyClicks(form.first->lineEdit(), "a");
        QTest::keyClick(form.first->lineEdit(), Qt::Key_Return);
        QVERIFY(form.second->hasFocusNow());

        form.third->setText("old");
        QTest::keyClicks(form.second->lineEdit(), "b");
        QTest::keyClick(form.second->lineEdit(), Qt::Key_Return);
        QVERIFY(form.third->hasFocusNow());
        QCOMPARE(form.third->SelLength(), 3);       // arrives with its text selected
        QTest::keyClick(form.third->lineEdit(), Qt::Key_Return);
        QVERIFY(form.first->hasFocusNow());
        QCOMPARE(form.first->Text(), QString("a"));
        form.Unload();
    }

    // MaxLength holds for what the user types, pastes or commits, in single and
    // multi-line boxes alike, never for a text the program sets.
    void maxLengthLimitsOnlyWhatTheUserEnters_data()
    {
        QTest::addColumn<bool>("multiLine");
        QTest::newRow("single line") << false;
        QTest::newRow("multi-line") << true;
    }
    void maxLengthLimitsOnlyWhatTheUserEnters()
    {
        QFETCH(bool, multiLine);
        TextBox box(nullptr, multiLine ? TextBox::Lines::Multi : TextBox::Lines::Single);
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

        // A longer text the program loads stays whole: the user cannot lengthen it,
        // only shorten it; the program's own insertions pass.
        box.setText("0123456789");
        QCOMPARE(box.Text(), QString("0123456789"));
        box.setSelStart(10);
        QTest::keyClicks(editor, "x");
        QCOMPARE(box.Text(), QString("0123456789"));
        QTest::keyClick(editor, Qt::Key_Backspace);
        QCOMPARE(box.Text(), QString("012345678"));
        box.setSelStart(0);
        box.setSelText("AB");
        QCOMPARE(box.Text(), QString("AB012345678"));
        box.setMaxLength(2);
        QCOMPARE(box.Text(), QString("AB012345678"));
        box.setMaxLength(0);
        box.setSelStart(11);
        QTest::keyClicks(editor, "zz");
        QCOMPARE(box.Text(), QString("AB012345678zz"));
    }

    void lockedBoxesKeepFocusSelectionAndKeysAndSelectionHelpers()
    {
        auto& form = *new Form(Form::Placement::TopLevel);   // deletes itself on Unload
        auto* name = new TextBox(&form);
        auto* text = new TextBox(&form, TextBox::Lines::Multi);
        name->setText("当归");
        text->setText("fixed text");
        name->setLocked(true);
        text->setLocked(true);
        auto* combo = new ComboBox(&form);
        int keys = 0;
        name->KeyPress = [&](int&) { ++keys; };
        form.Show();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        name->SetFocusSelectAll();
        QVERIFY(name->hasFocusNow());
        QCOMPARE(name->SelText(), QStringLiteral("当归"));
        QTest::keyClicks(name->lineEdit(), "x");
        commit(name->lineEdit(), QStringLiteral("甲"));
        QCOMPARE(name->Text(), QStringLiteral("当归"));
        QCOMPARE(keys, 2);

        text->SetFocus();
        QVERIFY(text->hasFocusNow());
        QTest::keyClicks(text->plainTextEdit(), "y");
        commit(text->plainTextEdit(), QStringLiteral("乙"));
        QCOMPARE(text->Text(), QString("fixed text"));
        text->setSelStart(6);
        text->setSelLength(4);
        QCOMPARE(text->SelText(), QString("text"));

        // Selections and focus helpers of an unlocked box and a combo.
        name->setLocked(false);
        auto* box = name;
        box->setText("12.50");
        box->SetFocusEnd();
        QCOMPARE(box->SelStart(), 5);
        QCOMPARE(box->SelLength(), 0);
        box->setSelStart(1);
        box->setSelLength(99);                       // clipped to the text
        QCOMPARE(box->SelText(), QString("2.50"));

        combo->AddItem("草药");
        combo->setText("成药");
        QCOMPARE(combo->ListIndex(), -1);
        combo->SetFocusSelectAll();
        QCOMPARE(combo->SelText(), QStringLiteral("成药"));
        int enters = 0;
        combo->KeyPress = [&](int& k) { if (k == vbKeyReturn) ++enters; };
        QTest::keyClick(combo->comboBox()->lineEdit(), Qt::Key_Return);
        QCOMPARE(combo->ListCount(), 1);             // Enter never adds the typed text
        QCOMPARE(enters, 1);                         // once, though editor and combo both see it
        QCOMPARE(keys, 2);
        form.Unload();
    }

    void maskedDateBoxKeepsItsPromptCharacters()
    {
        MaskEdBox date;
        date.setMask("####-##-##");
        QCOMPARE(date.Text(), QString("____-__-__"));
        date.setText("2024-03-15");
        QCOMPARE(date.Text(), QString("2024-03-15"));

        date.setText("");
        date.lineEdit()->home(false);
        QTest::keyClicks(date.lineEdit(), "2024");
        QCOMPARE(date.Text(), QString("2024-__-__"));
        QTest::keyClicks(date.lineEdit(), "x");      // not a digit: refused
        QCOMPARE(date.Text(), QString("2024-__-__"));

        date.setPromptChar('#');
        QCOMPARE(date.Text(), QString("2024-##-##"));
    }

    // Enter clicks the Default button, unless the Enter is swallowed or the button
    // disabled; an Enter chain that ends on a button makes the
    // next Enter click that button, Default or not.
    void enterClicksTheDefaultButton()
    {
        auto& form = *new Form(Form::Placement::TopLevel);   // deletes itself on Unload
        auto* box = new TextBox(&form);
        auto* save = new CommandButton(&form, "保存&S");
        auto* other = new CommandButton(&form, "清屏&Q");
        save->setDefault(true);
        int saves = 0, others = 0;
        save->Click = [&] { ++saves; };
        other->Click = [&] { ++others; };
        form.Show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        box->SetFocus();
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(saves, 1);

        box->KeyPress = swallowSpaceAndEnter;
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(saves, 1);
        save->setEnabled(false);
        box->KeyPress = nullptr;
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(saves, 1);

        save->setEnabled(true);
        box->KeyPress = [&](int& keyAscii) {
            if (EnterPressed(keyAscii)) other->SetFocus();
        };
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QTRY_VERIFY(other->hasFocus() || other->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(others, 1);
        QCOMPARE(saves, 1);
        form.Unload();
    }
};

QTEST_MAIN(FormsKeysTest)
#include "forms_keys_test.moc"
