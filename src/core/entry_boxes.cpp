// The number and date boxes of the windows; see entry_boxes.h.
#include "core/entry_boxes.h"

#include "platform/forms/services.h"
#include "platform/forms/textbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/dates.h"
#include "platform/vb/format.h"

#include <cmath>

namespace core {

namespace {
const QString DayKeyFormat = QStringLiteral("yyyymmdd");

QString dayKey(const QDate& date) { return vb::Format(date, DayKeyFormat); }
}  // namespace

QString formatNumber(const vb::Variant& value) { return vb::Format(value, NumberFormat); }

bool holdsNumber(const forms::TextBox& box) { return vb::IsNumeric(box.Text()); }

bool holdsWholeNumber(const forms::TextBox& box)
{
    if (!holdsNumber(box)) return false;
    const double number = numberIn(box);
    return number >= 0 && number == std::floor(number);
}

double numberIn(const forms::TextBox& box) { return vb::CDbl(box.Text()); }

vb::Currency moneyIn(const forms::TextBox& box) { return vb::CCur(box.Text()); }

void showAsNumber(forms::TextBox& box) { box.setText(formatNumber(box.Text())); }

void makeDateBox(forms::MaskEdBox& box)
{
    box.setMask(QStringLiteral("####-##-##"));
    box.setPromptChar(QLatin1Char('_'));
}

QString dateText(const QDate& date) { return vb::Format(date, QStringLiteral("yyyy-mm-dd")); }

QString todayText() { return dateText(forms::Clock::Today()); }

bool holdsDate(const forms::TextBox& box) { return vb::IsDate(box.Text()); }

QDate dateIn(const forms::TextBox& box) { return vb::CDate(box.Text()); }

bool laterThanToday(const QDate& date) { return dayKey(date) > dayKey(forms::Clock::Today()); }

bool earlierThanToday(const QDate& date) { return dayKey(date) < dayKey(forms::Clock::Today()); }

}  // namespace core
