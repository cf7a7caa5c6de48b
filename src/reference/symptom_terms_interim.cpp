// Stand-in for the dictionaries' symptom splitter until it is merged.
#include "reference/symptom_terms_interim.h"

#include "core/globals.h"
#include "platform/vb/strings.h"

void AddSymptomTerms(QString& text)
{
    text = vb::Trim(text);
    if (text.isEmpty()) return;
    dao::Database db = OpenDb();
    dao::Recordset terms = db.openTable(QStringLiteral("bzzz"));
    terms.setIndex(QStringLiteral("bzzzi"));
    QString term;
    int depth = 0;
    for (const QChar c : text) {
        if (c == u'\r') break;
        if (c == u'(' || c == u'（') { ++depth; continue; }
        if (c == u')' || c == u'）') { if (depth) --depth; continue; }
        if (depth) continue;
        if (QStringLiteral("。，；：、*").contains(c)) {
            if (!term.isEmpty()) {
                terms.seek(QStringLiteral("="), term);
                if (terms.noMatch()) { terms.addNew(); terms.setField(0, term); terms.update(); }
            }
            term.clear();
        } else if (c != u' ') {
            term += c;
        }
    }
}
