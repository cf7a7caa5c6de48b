// Stand-in for the dictionaries' symptom splitter until it is merged.
#pragma once
#include <QString>
void AddSymptomTerms(QString& text);
