// Buttons and labels: command buttons with "&" accelerators (Enter on a focused
// one clicks it), option buttons grouped by their parent, and labels (and label arrays through
// ControlArray).
#pragma once

#include "platform/forms/control.h"

#include <vector>

class QAbstractButton;
class QLabel;
class QPushButton;
class QRadioButton;

namespace forms {

class CommandButton : public Control {
    Q_OBJECT
public:
    explicit CommandButton(QWidget* parent = nullptr, const QString& caption = {});

    QString Caption() const;
    void setCaption(const QString& caption);
    // Clicks the button from code, as setting Value = True did.
    void Press();

    QPushButton* button() const { return button_; }

private:
    QPushButton* button_;
};

class OptionButton : public Control {
    Q_OBJECT
public:
    // Option buttons with the same parent form one group: one selected at a time.
    explicit OptionButton(QWidget* parent = nullptr, const QString& caption = {});
    QString Caption() const;
    void setCaption(const QString& caption);
    bool Value() const;
    void setValue(bool selected);                   // does not fire Click
    QRadioButton* radioButton() const { return radio_; }

protected:
    // An arrow key moves to the next (Down, Right) or previous option of the group, in
    // their order, round the end: the focus first, then its Click, so that a Click
    // sending the focus elsewhere is obeyed.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRadioButton* radio_;
};

class Label : public Control {
    Q_OBJECT
public:
    explicit Label(QWidget* parent = nullptr, const QString& caption = {});
    QString Caption() const;
    void setCaption(const QString& caption);
    void setAlignment(Alignment alignment);
    void setWordWrap(bool wrap);
    QLabel* label() const { return label_; }

private:
    QLabel* label_;
};

// A control array (`Label1(0)`, `Labbq(7)`): controls addressed by index.
template <class C>
class ControlArray {
public:
    C* operator()(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    C* add(C* control) { items_.push_back(control); return control; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<C*> items_;
};

}  // namespace forms
