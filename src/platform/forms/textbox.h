// Text boxes as the old windows use them: single or multi-line, MaxLength holding in
// both, Locked boxes that still take the focus, keys and selections, and the masked
// date box whose text keeps its prompt characters ("2024-__-__").
#pragma once

#include "platform/forms/control.h"

class QLineEdit;
class QPlainTextEdit;

namespace forms {

class TextBox : public Control {
    Q_OBJECT
public:
    enum class Lines { Single, Multi };
    enum class ScrollBars { None, Horizontal, Vertical, Both };

    explicit TextBox(QWidget* parent = nullptr, Lines lines = Lines::Single);

    // The text; a multi-line box gives its line breaks as CR LF and takes CR LF or LF.
    QString Text() const;
    void setText(const QString& text);

    // 0 means no limit. Holds for what the user types, pastes or commits through the
    // input method, never for a text the program sets (setText): a longer
    // text loaded by code is shown whole and stays whole while the user edits it, the
    // user only cannot make it longer.
    void setMaxLength(int characters);

    // Locked: no typing, but focus, selection, caret moves and KeyPress stay.
    void setLocked(bool locked);
    bool takesTypedText() const override { return !locked_; }

    int SelStart() const;
    void setSelStart(int start);
    int SelLength() const;
    void setSelLength(int length);
    QString SelText() const;

    void setAlignment(Alignment alignment);
    void setScrollBars(ScrollBars bars);

    bool MultiLine() const { return multi_ != nullptr; }

    // Focus with the whole text selected, or with the caret after the last character.
    void SetFocusSelectAll();
    void SetFocusEnd();

    QLineEdit* lineEdit() const { return single_; }
    QPlainTextEdit* plainTextEdit() const { return multi_; }

protected:
    QLineEdit* single_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;

private:
    void enforceMaxLength(int position, int removed, int added);
    void asProgram(const std::function<void()>& change);
    int maxLength_ = 0;
    bool locked_ = false;
    bool trimming_ = false;
    bool settingText_ = false;     // the program is changing a multi-line box's text
};

// MaskEdBox: an input mask in the old notation ("####-##-##": # a digit) with a
// prompt character ("_") that stays in the text where nothing was typed.
class MaskEdBox : public TextBox {
    Q_OBJECT
public:
    explicit MaskEdBox(QWidget* parent = nullptr);

    void setMask(const QString& mask);
    void setPromptChar(QChar prompt);

private:
    void applyMask();
    QString mask_;
    QChar prompt_ = QLatin1Char('_');
};

}  // namespace forms
