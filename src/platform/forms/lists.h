// Combo and list boxes with the old item interface: AddItem, Clear, ListCount,
// List(i), the list box's ListIndex and Text. An editable combo never adds what is typed to its
// list; Click fires when the user picks an entry.
#pragma once

#include "platform/forms/control.h"

#include <QStringList>

class QComboBox;
class QListWidget;

namespace forms {

class ComboBox : public Control {
    Q_OBJECT
public:
    enum class Style { DropDownCombo, DropDownList };
    explicit ComboBox(QWidget* parent = nullptr, Style style = Style::DropDownCombo);

    QString Text() const;
    void setText(const QString& text);
    void AddItem(const QString& item);
    void Clear();                                   // empties the list and the text
    int ListCount() const;
    QString List(int index) const;
    void setItems(const QStringList& items);        // replaces the list, keeps the text

    void setLocked(bool locked);
    bool takesTypedText() const override { return !locked_; }
    int SelStart() const;
    void setSelStart(int start);
    int SelLength() const;
    void setSelLength(int length);
    QString SelText() const;
    void SetFocusSelectAll();
    void SetFocusEnd();
    void setMaxLength(int characters);

    QComboBox* comboBox() const { return combo_; }

private:
    QComboBox* combo_;
    bool locked_ = false;
};

class ListBox : public Control {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    void AddItem(const QString& item);
    void Clear();
    int ListCount() const;
    QString List(int index) const;
    int ListIndex() const;
    QString Text() const;                           // the selected entry, "" when none
    void setItems(const QStringList& items);

    QListWidget* listWidget() const { return list_; }

private:
    QListWidget* list_;
};

}  // namespace forms
