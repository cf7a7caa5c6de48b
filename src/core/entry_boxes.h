// The number and date boxes of the windows. A number box is rewritten as
// "###,##0.00" once Enter is pressed or the input check passes, and wherever its text
// is computed with or stored it is read back as the number it shows, thousands
// separators included ("1,250.00" is 1250): numberIn for a number, moneyIn for money.
// A date box is a masked input "####-##-##" with the prompt "_" (makeDateBox), filled
// with today as "yyyy-mm-dd" (todayText); a date is compared with today by writing
// both as "yyyymmdd" and comparing the texts. The Enter-chain steps over these boxes
// are in enter_chain.h, the boxes' look in look.h.
#pragma once

#include "platform/vb/variant.h"

#include <QDate>
#include <QString>

namespace forms {
class TextBox;
class MaskEdBox;
}

namespace core {

inline const QString NumberFormat = QStringLiteral("###,##0.00");

// `value` written as "###,##0.00" (a text that is no number comes back unchanged).
QString formatNumber(const vb::Variant& value);

// Whether the box's text is a number as the old runtime read numbers.
bool holdsNumber(const forms::TextBox& box);
// Whether it is a whole number not below 0, as a box that takes digits only may hold
// ("1,500.00" once shown as a number). A text pasted past the box's key filter, such as
// "-5" or "2.5", is none.
bool holdsWholeNumber(const forms::TextBox& box);
// The number the box shows; a text that is no number raises vb::TypeMismatch.
double numberIn(const forms::TextBox& box);
// The same, as money (read digit by digit, no binary detour).
vb::Currency moneyIn(const forms::TextBox& box);
// Rewrites the box's text as "###,##0.00".
void showAsNumber(forms::TextBox& box);

// Gives a box the dispensary's date mask "####-##-##" with the prompt "_".
void makeDateBox(forms::MaskEdBox& box);
// A date as the date boxes show it: "yyyy-mm-dd".
QString dateText(const QDate& date);
// Today by the program's clock, as "yyyy-mm-dd".
QString todayText();
// Whether the box's text is a date; and that date (vb::TypeMismatch when it is none).
bool holdsDate(const forms::TextBox& box);
QDate dateIn(const forms::TextBox& box);
// Comparisons with today, both dates written as "yyyymmdd"; `date` must be a date.
bool laterThanToday(const QDate& date);
bool earlierThanToday(const QDate& date);

}  // namespace core
