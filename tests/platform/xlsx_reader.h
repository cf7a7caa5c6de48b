// Reads a saved workbook back for tests: the first sheet's cells (type, text or
// number; shared or inline texts), their number formats and fonts, and the column
// widths and fonts (what an empty cell of the column shows). Header-only, on
// libzip and QXmlStreamReader; test executables that include it link libzip.
#pragma once

#include <QHash>
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
    int error = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY, &error);
    if (!archive) return {};
    QByteArray data;
    zip_stat_t info;
    if (zip_file_t* file = zip_stat(archive, name, 0, &info) == 0 ? zip_fopen(archive, name, 0) : nullptr) {
        data.resize(qsizetype(info.size));
        zip_fread(file, data.data(), info.size);
        zip_fclose(file);
    }
    zip_close(archive);
    return data;
}

class XlsxReader {
public:
    struct Cell {
        enum class Kind { Blank, Text, Number } kind = Kind::Blank;
        QString text;
        double number = 0;
        QString numberFormat;   // "" for the general format
        QString fontName;
        double fontSize = 0;
    };

    explicit XlsxReader(const QString& path)
    {
        const QByteArray sheet = zipEntry(path, "xl/worksheets/sheet1.xml");
        readStyles(zipEntry(path, "xl/styles.xml"));
        readStrings(zipEntry(path, "xl/sharedStrings.xml"));
        readSheet(sheet);
        valid_ = !sheet.isEmpty();
    }

    bool isValid() const { return valid_; }
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
        for (const auto& range : columns_)
            if (column >= range.first && column <= range.last) return range.width;
        return std::nullopt;
    }
    // The font an empty cell of column `column` shows: the column's, or the default.
    QString columnFontName(int column) const
    {
        int style = 0;
        for (const auto& range : columns_)
            if (column >= range.first && column <= range.last) style = range.style;
        const int font = style < styles_.size() ? styles_[style].fontId : 0;
        return font < fonts_.size() ? fonts_[font].name : QString();
    }

private:
    struct Font { QString name; double size = 0; };
    struct Style { int numberFormatId = 0; int fontId = 0; };
    struct ColumnRange { int first, last; double width; int style; };

    bool valid_ = false;
    QHash<int, QString> numberFormats_;
    QVector<Font> fonts_;
    QVector<Style> styles_;
    QStringList strings_;
    QMap<QString, Cell> cells_;
    QVector<ColumnRange> columns_;

    void readStyles(const QByteArray& xml)
    {
        QXmlStreamReader in(xml);
        bool inFonts = false, inCellXfs = false;
        while (!in.atEnd()) {
            in.readNext();
            const auto name = in.name();
            if (in.isEndElement()) {
                if (name == u"fonts") inFonts = false;
                if (name == u"cellXfs") inCellXfs = false;
                continue;
            }
            if (!in.isStartElement()) continue;
            const QXmlStreamAttributes a = in.attributes();
            if (name == u"numFmt") numberFormats_[a.value("numFmtId").toInt()] = a.value("formatCode").toString();
            else if (name == u"fonts") inFonts = true;
            else if (name == u"cellXfs") inCellXfs = true;
            else if (inFonts && name == u"font") fonts_.append(Font());
            else if (inFonts && name == u"name") fonts_.last().name = a.value("val").toString();
            else if (inFonts && name == u"sz") fonts_.last().size = a.value("val").toDouble();
            else if (inCellXfs && name == u"xf")
                styles_.append(Style{a.value("numFmtId").toInt(), a.value("fontId").toInt()});
        }
    }

    void readStrings(const QByteArray& xml)
    {
        QXmlStreamReader in(xml);
        while (!in.atEnd()) {
            in.readNext();
            if (in.isStartElement() && in.name() == u"si") strings_.append(QString());
            else if (in.isStartElement() && in.name() == u"t") strings_.last() += in.readElementText();
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
                Cell cell;
                const int styleIndex = a.value("s").toInt();
                const Style style = styleIndex < styles_.size() ? styles_[styleIndex] : Style();
                cell.numberFormat = numberFormats_.value(style.numberFormatId);
                if (style.fontId < fonts_.size()) {
                    cell.fontName = fonts_[style.fontId].name;
                    cell.fontSize = fonts_[style.fontId].size;
                }
                const bool shared = a.value("t") == u"s";
                const QString reference = a.value("r").toString();
                while (!(in.isEndElement() && in.name() == u"c") && !in.atEnd()) {
                    in.readNext();
                    if (in.isStartElement() && in.name() == u"t") {   // an inline text
                        cell.kind = Cell::Kind::Text;
                        cell.text = in.readElementText();
                    } else if (in.isStartElement() && in.name() == u"v") {
                        const QString v = in.readElementText();
                        if (shared) {
                            cell.kind = Cell::Kind::Text;
                            cell.text = strings_.value(v.toInt());
                        } else {
                            cell.kind = Cell::Kind::Number;
                            cell.number = v.toDouble();
                            cell.text = v;
                        }
                    }
                }
                cells_[reference] = cell;
            }
        }
    }
};

}  // namespace testing
