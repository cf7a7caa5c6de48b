// The steps of the Enter chains; see enter_chain.h.
#include "core/enter_chain.h"

#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/strings.h"

namespace core {

bool filled(const QString& text) { return !vb::Trim(text).isEmpty(); }

bool filled(const forms::TextBox* box) { return filled(box->Text()); }

bool dateAccepted(forms::MaskEdBox* box, const QString& notDateMessage,
                  const std::optional<QString>& futureMessage)
{
    if (vb::Trim(box->Text()).length() != 10) {
        forms::Notice(QStringLiteral("请输入10位日期时间"));
    } else if (!holdsDate(*box)) {
        forms::Notice(notDateMessage);
    } else if (futureMessage && laterThanToday(dateIn(*box))) {
        forms::Notice(*futureMessage);
    } else {
        return true;
    }
    box->SetFocusSelectAll();
    return false;
}

bool numberAccepted(forms::TextBox* box, const QString& notNumericMessage,
                    const std::optional<QString>& zeroMessage, NumberTest isNumber)
{
    if (box->Text().isEmpty()) return false;
    if (!isNumber(*box)) {
        forms::Notice(notNumericMessage);
    } else if (zeroMessage && numberIn(*box) == 0) {
        forms::Notice(*zeroMessage);
    } else {
        showAsNumber(*box);
        return true;
    }
    box->SetFocusSelectAll();
    return false;
}

void prompt(const QString& text) { forms::MsgBox(text, forms::vbQuestion | forms::vbOKOnly, QString()); }

bool askedYes(const QString& text)
{
    return forms::MsgBox(text, forms::vbYesNo | forms::vbQuestion, QString()) == forms::vbYes;
}

}  // namespace core
