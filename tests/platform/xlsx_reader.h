// Reads a saved workbook back for tests: the first sheet's cells (type, text or
// number; texts inline, as the streamed sheet writes them), their number formats and
// fonts, and the column widths and fonts (what an empty cell of the column shows).
// Header-only, on libzip and QXmlStreamReader; test executables that include it link libzip.
#pragma once

#include <QMap>
#include <QString>
#include <QVector>
#include <QXmlStreamReader>
#include <optional>
#include <zip.h>

namespace testing {

// The bytes of entry `name` of the zip archive at `path`; empty when there is none.
inline QByteArray zipEntry(const QString& path, const char* name)
{
    QByteArray data;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY, nullptr);
    if (zip_file_t* file = archive ? zip_fopen(archive, name, 0) : nullptr) {
        char buffer[65536];
        for (zip_int64_t n; (n = zip_fread(file, buffer, sizeof buffer)) > 0;) data.append(buffer, qsizetype(n));
        zip_fclose(file);
    }
    if (archive) zip_close(archive);
    return data;
}

class XlsxReader {
public:
    struct Cell {
        enum class Kind { Blank, Text, Number } kind = Kind::Blank;
        QString text;
        double number = 0;
        QString numberFormat;   // "" for the general format and the built-in ones
        int numberFormatId = 0;  // 0 general, 14 the short date, 164 on the file's own formats
        QString fontName;
        double fontSize = 0;
    };

    explicit XlsxReader(const QString& path)
    {
        readStyles(zipEntry(path, "xl/styles.xml"));
        readSheet(zipEntry(path, "xl/worksheets/sheet1.xml"));
    }

    // "A1" → cell; cells not in the file are absent.
    std::optional<Cell> cell(const QString& reference) const
    {
        const auto it = cells_.find(reference.toUpper());
        return it == cells_.end() ? std::nullopt : std::optional<Cell>(*it);
    }
    QString text(const QString& reference) const { return cell(reference).value_or(Cell()).text; }
    int cellCount() const { return int(cells_.size()); }
    // The width the file gives column `column` (1-based); nullopt when not set.
    std::optional<double> columnWidth(int column) const
    {
        const ColumnRange* range = columnRange(column);
        return range ? std::optional<double>(range->width) : std::nullopt;
    }
    // The font an empty cell of column `column` shows: the column's, or the default.
    QString columnFontName(int column) const
    {
        const ColumnRange* range = columnRange(column);
        return styled(range ? range->style : 0).fontName;
    }

private:
    struct ColumnRange { int first, last; double width; int style; };

    QVector<Cell> styles_;   // per cell style: an empty cell with its format and font
    QMap<QString, Cell> cells_;
    QVector<ColumnRange> columns_;

    Cell styled(int style) const { return styles_.value(style); }
    const ColumnRange* columnRange(int column) const
    {
        for (const auto& range : columns_)
            if (column >= range.first && column <= range.last) return &range;
        return nullptr;
    }

    void readStyles(const QByteArray& xml)
    {
        QMap<int, QString> numberFormats;
        QVector<Cell> fonts;
        QXmlStreamReader in(xml);
        bool inFonts = false, inCellXfs = false;
        while (!in.atEnd()) {
            in.readNext();
            const auto name = in.name();
            if (in.isEndElement() && (name == u"fonts" || name == u"cellXfs")) inFonts = inCellXfs = false;
            if (!in.isStartElement()) continue;
            const QXmlStreamAttributes a = in.attributes();
            if (name == u"numFmt") numberFormats[a.value("numFmtId").toInt()] = a.value("formatCode").toString();
            else if (name == u"fonts") inFonts = true;
            else if (name == u"cellXfs") inCellXfs = true;
            else if (inFonts && name == u"font") fonts.append(Cell());
            else if (inFonts && name == u"name") fonts.last().fontName = a.value("val").toString();
            else if (inFonts && name == u"sz") fonts.last().fontSize = a.value("val").toDouble();
            else if (inCellXfs && name == u"xf") {
                styles_.append(fonts.value(a.value("fontId").toInt()));
                styles_.last().numberFormatId = a.value("numFmtId").toInt();
                styles_.last().numberFormat = numberFormats.value(styles_.last().numberFormatId);
            }
        }
    }

    void readSheet(const QByteArray& xml)
    {
        QXmlStreamReader in(xml);
        while (!in.atEnd()) {
            in.readNext();
            if (!in.isStartElement()) continue;
            const QXmlStreamAttributes a = in.attributes();
            if (in.name() == u"col") {
                columns_.append(ColumnRange{a.value("min").toInt(), a.value("max").toInt(), a.value("width").toDouble(),
                                            a.value("style").toInt()});
            } else if (in.name() == u"c") {
                Cell cell = styled(a.value("s").toInt());
                const QString reference = a.value("r").toString();
                while (!(in.isEndElement() && in.name() == u"c") && !in.atEnd()) {
                    in.readNext();
                    if (!in.isStartElement() || (in.name() != u"t" && in.name() != u"v")) continue;
                    cell.kind = in.name() == u"t" ? Cell::Kind::Text : Cell::Kind::Number;
                    cell.text = in.readElementText();
                    cell.number = cell.kind == Cell::Kind::Number ? cell.text.toDouble() : 0;
                }
                cells_[reference] = cell;
            }
        }
    }
};

}  // namespace testing
