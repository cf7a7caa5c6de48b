// Combo boxes and list boxes (see lists.h).
#include "platform/forms/lists.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QStringListModel>

namespace forms {

namespace {

QComboBox* makeCombo(ComboBox::Style style)
{
    auto* combo = new QComboBox;
    // A list of texts: replacing the whole list is one reset of the model, not an
    // item made and destroyed for every entry.
    combo->setModel(new QStringListModel(combo));
    combo->setEditable(style == ComboBox::Style::DropDownCombo);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(12);
    // The window gives the control its place and size; a size hint measured over every
    // entry would lay out each text of a list of thousands whenever the list changes.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (combo->lineEdit()) {
        // The old combo never completed a typed text from its list: what the user
        // typed is what a criterion or a check reads.
        combo->setCompleter(nullptr);
        combo->lineEdit()->setMaxLength(32767);
    }
    return combo;
}

}  // namespace

ComboBox::ComboBox(QWidget* parent, Style style) : Control(parent, makeCombo(style))
{
    combo_ = static_cast<QComboBox*>(inner());
    if (combo_->lineEdit()) bridge(combo_->lineEdit());
    // Click: the user picked an entry of the list.
    connect(combo_, &QComboBox::activated, this, [this] { if (Click) Click(); });
}

QString ComboBox::Text() const { return combo_->currentText(); }

// An empty text stands for no entry: the list is not searched for it.
void ComboBox::setText(const QString& text)
{
    if (combo_->isEditable()) {
        const int found = text.isEmpty() ? -1 : combo_->findText(text, Qt::MatchExactly);
        QSignalBlocker block(combo_);
        combo_->setCurrentIndex(found);
        combo_->setEditText(text);
        return;
    }
    combo_->setCurrentIndex(text.isEmpty() ? -1 : combo_->findText(text, Qt::MatchExactly));
}

void ComboBox::AddItem(const QString& item)
{
    const QString text = Text();
    combo_->addItem(item);
    if (combo_->isEditable() && combo_->count() == 1) setText(text);   // adding keeps what is typed
}

void ComboBox::Clear()
{
    combo_->clear();
    if (combo_->isEditable()) combo_->setEditText(QString());
}

int ComboBox::ListCount() const { return combo_->count(); }
QString ComboBox::List(int index) const { return combo_->itemText(index); }

void ComboBox::setItems(const QStringList& items)
{
    auto* model = static_cast<QStringListModel*>(combo_->model());
    if (model->stringList() == items) return;
    const QString text = Text();
    QSignalBlocker block(combo_);
    model->setStringList(items);
    setText(text);
}

void ComboBox::setLocked(bool locked)
{
    locked_ = locked;
    if (combo_->lineEdit()) combo_->lineEdit()->setReadOnly(locked);
}

int ComboBox::SelStart() const
{
    QLineEdit* edit = combo_->lineEdit();
    if (!edit) return 0;
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

void ComboBox::setSelStart(int start)
{
    if (QLineEdit* edit = combo_->lineEdit()) edit->setCursorPosition(std::max(0, start));
}

int ComboBox::SelLength() const
{
    QLineEdit* edit = combo_->lineEdit();
    return edit ? edit->selectedText().size() : 0;
}

void ComboBox::setSelLength(int length)
{
    if (QLineEdit* edit = combo_->lineEdit()) edit->setSelection(SelStart(), std::max(0, length));
}

QString ComboBox::SelText() const
{
    QLineEdit* edit = combo_->lineEdit();
    return edit ? edit->selectedText() : QString();
}

void ComboBox::SetFocusSelectAll()
{
    SetFocus();
    if (QLineEdit* edit = combo_->lineEdit()) edit->selectAll();
}

void ComboBox::SetFocusEnd()
{
    SetFocus();
    if (QLineEdit* edit = combo_->lineEdit()) {
        edit->deselect();
        edit->end(false);
    }
}

void ComboBox::setMaxLength(int characters)
{
    if (QLineEdit* edit = combo_->lineEdit()) edit->setMaxLength(characters > 0 ? characters : 32767);
}

// ---- ListBox --------------------------------------------------------------------

ListBox::ListBox(QWidget* parent) : Control(parent, new QListWidget)
{
    list_ = static_cast<QListWidget*>(inner());
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    bridge(list_->viewport());
    // Click: the user chose an entry, by mouse or by the arrow keys.
    connect(list_, &QListWidget::itemClicked, this, [this] { if (Click) Click(); });
    connect(list_, &QListWidget::itemActivated, this, [this] { if (Click) Click(); });
}

void ListBox::AddItem(const QString& item) { list_->addItem(item); }
void ListBox::Clear() { list_->clear(); }
int ListBox::ListCount() const { return list_->count(); }

QString ListBox::List(int index) const
{
    const QListWidgetItem* item = list_->item(index);
    return item ? item->text() : QString();
}

int ListBox::ListIndex() const
{
    return list_->currentItem() && list_->currentItem()->isSelected() ? list_->currentRow() : -1;
}

QString ListBox::Text() const
{
    const int index = ListIndex();
    return index < 0 ? QString() : List(index);
}

void ListBox::setItems(const QStringList& items)
{
    QSignalBlocker block(list_);
    list_->clear();
    list_->addItems(items);
}

}  // namespace forms
