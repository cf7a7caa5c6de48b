// Text boxes and masked edit boxes (see textbox.h).
#include "platform/forms/textbox.h"

#include <QLineEdit>
#include <QScopedValueRollback>
#include <QValidator>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace forms {

namespace {

// MaxLength of a single-line box over what the user enters: an edit that would take
// the text past the limit (or past a longer text the program set) loses the excess
// characters just before the caret, which are the ones it entered.
class LengthLimit : public QValidator {
public:
    LengthLimit(QLineEdit* box, int maxLength) : QValidator(box), maxLength_(maxLength)
    {
        accepted_ = box->text().length();
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { accepted_ = text.length(); });
    }

    State validate(QString& input, int& pos) const override
    {
        const qsizetype allowed = std::max<qsizetype>(maxLength_, accepted_);
        const qsizetype excess = input.length() - allowed;
        if (excess > 0) {
            const qsizetype start = std::max<qsizetype>(pos - excess, 0);
            input.remove(start, std::min(excess, input.length() - start));
            pos = static_cast<int>(start);
        }
        return Acceptable;
    }

private:
    int maxLength_;
    qsizetype accepted_ = 0;
};

QWidget* makeEditor(TextBox::Lines lines)
{
    if (lines == TextBox::Lines::Single) return new QLineEdit;
    auto* editor = new QPlainTextEdit;
    editor->setTabChangesFocus(true);
    editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return editor;
}

}  // namespace

TextBox::TextBox(QWidget* parent, Lines lines) : Control(parent, makeEditor(lines))
{
    single_ = qobject_cast<QLineEdit*>(inner());
    multi_ = qobject_cast<QPlainTextEdit*>(inner());
    setClickOnRelease(true);
    if (multi_) {
        bridge(multi_->viewport());
        // A mouse event the text ignores (the right button) would go on from the
        // viewport to the box and reach the hooks a second time.
        multi_->viewport()->setAttribute(Qt::WA_NoMousePropagation);
        connect(multi_->document(), &QTextDocument::contentsChange, this,
                [this](int position, int removed, int added) { enforceMaxLength(position, removed, added); });
    }
}

QString TextBox::Text() const
{
    if (single_) return single_->inputMask().isEmpty() ? single_->text() : single_->displayText();
    QString text = multi_->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void TextBox::setText(const QString& text)
{
    if (single_) {
        asProgram([&] { single_->setText(text); });
        return;
    }
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QScopedValueRollback<bool> byProgram(settingText_, true);
    multi_->setPlainText(plain);
}

// The program's own change of a single-line box passes the user's length limit.
void TextBox::asProgram(const std::function<void()>& change)
{
    QValidator* limit = const_cast<QValidator*>(single_->validator());
    single_->setValidator(nullptr);
    change();
    single_->setValidator(limit);
}

void TextBox::setMaxLength(int characters)
{
    maxLength_ = characters < 0 ? 0 : characters;
    if (!single_) return;
    delete single_->validator();
    single_->setValidator(maxLength_ == 0 ? nullptr : new LengthLimit(single_, maxLength_));
}

// A multi-line box over what the user enters: whatever an edit added beyond the limit
// (or beyond the longer text it held) is taken off the end of the added text.
void TextBox::enforceMaxLength(int position, int removed, int added)
{
    if (trimming_ || settingText_ || maxLength_ == 0 || !multi_) return;
    const int length = multi_->document()->characterCount() - 1;   // without the final block mark
    const int before = length - added + removed;
    const int excess = length - std::max(maxLength_, before);
    if (excess <= 0) return;
    const int end = std::min(position + added, length);
    const int start = std::max(end - excess, position);
    const QScopedValueRollback<bool> trimming(trimming_, true);
    QTextCursor cursor(multi_->document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void TextBox::setLocked(bool locked)
{
    locked_ = locked;
    if (single_) {
        single_->setReadOnly(locked);
        return;
    }
    multi_->setReadOnly(locked);
    if (locked)
        multi_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    multi_->setFocusPolicy(Qt::StrongFocus);
}

int TextBox::SelStart() const
{
    if (single_) return single_->hasSelectedText() ? single_->selectionStart() : single_->cursorPosition();
    return multi_->textCursor().selectionStart();
}

void TextBox::setSelStart(int start)
{
    start = std::max(0, start);
    if (single_) {
        single_->setCursorPosition(std::min(start, static_cast<int>(single_->displayText().size())));
        return;
    }
    QTextCursor cursor = multi_->textCursor();
    cursor.setPosition(std::min(start, multi_->document()->characterCount() - 1));
    multi_->setTextCursor(cursor);
}

int TextBox::SelLength() const
{
    if (single_) return single_->selectedText().size();
    const QTextCursor cursor = multi_->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TextBox::setSelLength(int length)
{
    const int start = SelStart();
    if (single_) {
        const int available = single_->displayText().size() - start;
        single_->setSelection(start, std::clamp(length, 0, std::max(available, 0)));
        return;
    }
    QTextCursor cursor = multi_->textCursor();
    const int last = multi_->document()->characterCount() - 1;
    cursor.setPosition(start);
    cursor.setPosition(std::min(start + std::max(length, 0), last), QTextCursor::KeepAnchor);
    multi_->setTextCursor(cursor);
}

QString TextBox::SelText() const
{
    if (single_) return single_->selectedText();
    QString text = multi_->textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return text;
}

void TextBox::setAlignment(Alignment alignment)
{
    const Qt::Alignment horizontal = horizontalAlignment(alignment);
    if (single_) {
        single_->setAlignment(horizontal | Qt::AlignVCenter);
        return;
    }
    QTextOption option = multi_->document()->defaultTextOption();
    option.setAlignment(horizontal);
    multi_->document()->setDefaultTextOption(option);
}

void TextBox::setScrollBars(ScrollBars bars)
{
    if (!multi_) return;
    const bool vertical = bars == ScrollBars::Vertical || bars == ScrollBars::Both;
    const bool horizontal = bars == ScrollBars::Horizontal || bars == ScrollBars::Both;
    multi_->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    multi_->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // A horizontal scroll bar means no wrapping, as in the old boxes.
    multi_->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
}

void TextBox::SetFocusSelectAll()
{
    setSelStart(0);
    setSelLength(Text().size());
    SetFocus();
    if (single_) single_->selectAll();
    else multi_->selectAll();
}

void TextBox::SetFocusEnd()
{
    SetFocus();
    if (single_) {
        single_->deselect();
        single_->end(false);
    } else {
        multi_->moveCursor(QTextCursor::End);
    }
}

// ---- MaskEdBox ------------------------------------------------------------------

MaskEdBox::MaskEdBox(QWidget* parent) : TextBox(parent, Lines::Single) {}

void MaskEdBox::setMask(const QString& mask)
{
    mask_ = mask;
    applyMask();
}

void MaskEdBox::setPromptChar(QChar prompt)
{
    prompt_ = prompt;
    applyMask();
}

// The old notation to Qt's: # a digit, 9 an optional digit, ? a letter, A a letter
// or digit, & any character; Qt's own mask letters elsewhere are taken literally.
void MaskEdBox::applyMask()
{
    const QString text = Text();
    QString qtMask;
    for (const QChar c : mask_) {
        switch (c.unicode()) {
        case '#': qtMask += QLatin1Char('9'); break;
        case '9': qtMask += QLatin1Char('0'); break;
        case '?': qtMask += QLatin1Char('a'); break;
        case 'A': qtMask += QLatin1Char('n'); break;
        case '&': qtMask += QLatin1Char('x'); break;
        default:
            if (QStringLiteral("AaNnXx90Dd#HhBb><!;[]{}\\").contains(c)) qtMask += QLatin1Char('\\');
            qtMask += c;
        }
    }
    if (!qtMask.isEmpty()) qtMask += QLatin1Char(';') + prompt_;
    single_->setInputMask(qtMask);
    single_->setText(text);
}

}  // namespace forms
