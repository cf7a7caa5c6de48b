// Command buttons, option buttons, check boxes, labels and frames (see buttons.h).
#include "platform/forms/buttons.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace forms {

CommandButton::CommandButton(QWidget* parent, const QString& caption)
    : Control(parent, new QPushButton(caption))
{
    button_ = static_cast<QPushButton*>(inner());
    button_->setAutoDefault(false);
    connect(button_, &QPushButton::clicked, this, [this] { if (Click) Click(); });
}

QString CommandButton::Caption() const { return button_->text(); }
void CommandButton::setCaption(const QString& caption) { button_->setText(caption); }


void CommandButton::Press()
{
    if (isEnabled() && Click) Click();
}

// Option buttons of one container share a group, even though each sits inside its
// own control widget.
static QButtonGroup* groupOf(QWidget* container)
{
    if (!container) return nullptr;
    auto* group = container->findChild<QButtonGroup*>(QStringLiteral("optionGroup"), Qt::FindDirectChildrenOnly);
    if (!group) {
        group = new QButtonGroup(container);
        group->setObjectName(QStringLiteral("optionGroup"));
        group->setExclusive(true);
    }
    return group;
}

OptionButton::OptionButton(QWidget* parent, const QString& caption)
    : Control(parent, new QRadioButton(caption))
{
    radio_ = static_cast<QRadioButton*>(inner());
    radio_->setAutoExclusive(false);
    if (QButtonGroup* group = groupOf(parent)) group->addButton(radio_);
    connect(radio_, &QRadioButton::clicked, this, [this] { if (Click) Click(); });
    radio_->installEventFilter(this);
}

bool OptionButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != radio_ || event->type() != QEvent::KeyPress || !radio_->group()) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1 : key == Qt::Key_Up || key == Qt::Key_Left ? -1 : 0;
    if (step == 0) return false;
    const QList<QAbstractButton*> options = radio_->group()->buttons();
    const qsizetype count = options.size();
    for (qsizetype at = options.indexOf(radio_), tried = 1; tried < count; ++tried) {
        QAbstractButton* next = options[((at + step * tried) % count + count) % count];
        if (!next->isEnabled() || !next->isVisibleTo(window())) continue;
        next->setFocus(Qt::TabFocusReason);
        next->click();
        break;
    }
    return true;
}

QString OptionButton::Caption() const { return radio_->text(); }
void OptionButton::setCaption(const QString& caption) { radio_->setText(caption); }
bool OptionButton::Value() const { return radio_->isChecked(); }
void OptionButton::setValue(bool selected) { radio_->setChecked(selected); }

Label::Label(QWidget* parent, const QString& caption) : Control(parent, new QLabel(caption))
{
    label_ = static_cast<QLabel*>(inner());
    label_->setTextFormat(Qt::PlainText);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setClickOnRelease(true);
}

QString Label::Caption() const { return label_->text(); }
void Label::setCaption(const QString& caption) { label_->setText(caption); }

void Label::setAlignment(Alignment alignment)
{
    label_->setAlignment(horizontalAlignment(alignment) | Qt::AlignTop);
}

void Label::setWordWrap(bool wrap) { label_->setWordWrap(wrap); }

}  // namespace forms
