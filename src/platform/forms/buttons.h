// Buttons, labels and frames: command buttons with "&" accelerators, pictures and
// Default/Cancel roles, option buttons grouped by their container, check boxes,
// labels (and label arrays through ControlArray) and frames that hold controls.
#pragma once

#include "platform/forms/control.h"

#include <QPixmap>
#include <vector>

class QAbstractButton;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QCheckBox;

namespace forms {

class CommandButton : public Control {
    Q_OBJECT
public:
    explicit CommandButton(QWidget* parent = nullptr, const QString& caption = {});

    QString Caption() const;
    void setCaption(const QString& caption);
    void setPicture(const QPixmap& picture);
    // Enter anywhere in the form clicks the Default button, Esc the Cancel button,
    // unless a KeyPress handler swallowed the key.
    bool Default() const { return default_; }
    void setDefault(bool isDefault);
    bool Cancel() const { return cancel_; }
    void setCancel(bool isCancel);
    // Clicks the button from code, as setting Value = True did.
    void Press();

    QPushButton* button() const { return button_; }

private:
    QPushButton* button_;
    bool default_ = false;
    bool cancel_ = false;
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

private:
    QRadioButton* radio_;
};

constexpr int vbUnchecked = 0;
constexpr int vbChecked = 1;

class CheckBox : public Control {
    Q_OBJECT
public:
    explicit CheckBox(QWidget* parent = nullptr, const QString& caption = {});
    QString Caption() const;
    void setCaption(const QString& caption);
    int Value() const;                              // vbUnchecked or vbChecked
    void setValue(int value);
    QCheckBox* checkBox() const { return check_; }

private:
    QCheckBox* check_;
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

// A group box; controls created with `frame->container()` as parent sit inside it.
class Frame : public Control {
    Q_OBJECT
public:
    explicit Frame(QWidget* parent = nullptr, const QString& caption = {});
    QString Caption() const;
    void setCaption(const QString& caption);
    QWidget* container() override;

private:
    QGroupBox* box_;
};

// A control array (`Label1(0)`, `Labbq(7)`): controls addressed by index.
template <class C>
class ControlArray {
public:
    C* operator()(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    C* add(C* control) { items_.push_back(control); return control; }
    int Count() const { return static_cast<int>(items_.size()); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<C*> items_;
};

}  // namespace forms
