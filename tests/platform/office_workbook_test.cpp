// The workbook stand-in as the report writer drives it, a sheet streamed row by row:
// texts read as typed text, cells keep their types and formats, the sheet-wide font,
// fixed and auto-fitted column widths, and a save that maps "c:\my documents\",
// replaces an older file and never leaves a half file behind. Every case reads the
// saved file back. Texts handed to the word processor: the document file holds the
// text as paragraphs in 宋体 11 pt, not bold; the clipboard receives the text; a
// document no program opens is an error and leaves no file.
#include "platform/office/document.h"
#include "platform/office/sheet_stream.h"
#include "platform/win/filecopy.h"
#include "platform/file_bytes.h"
#include "platform/raised.h"
#include "platform/xlsx_reader.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <cmath>

using Kind = testing::XlsxReader::Cell::Kind;

namespace {

int errorOf(const std::function<void()>& call) { return testing::raised(call).number(); }

QByteArray contentOf(const QString& odt) { return testing::zipEntry(odt, "content.xml"); }

// The paragraphs' texts, and the text properties of the styles their spans use.
struct DocumentContent {
    QStringList paragraphs;
    QList<QXmlStreamAttributes> spanStyles;

    explicit DocumentContent(const QByteArray& xml)
    {
        QHash<QString, QXmlStreamAttributes> styles;
        QString styleName;
        QXmlStreamReader in(xml);
        while (!in.atEnd()) {
            in.readNext();
            if (!in.isStartElement()) continue;
            if (in.name() == u"style") {
                styleName = in.attributes().value("style:name").toString();
            } else if (in.name() == u"text-properties") {
                styles[styleName] = in.attributes();
            } else if (in.name() == u"p") {
                QString paragraph;
                while (!(in.isEndElement() && in.name() == u"p")) {
                    in.readNext();
                    if (in.isStartElement() && in.name() == u"span")
                        spanStyles << styles.value(in.attributes().value("text:style-name").toString());
                    if (in.isCharacters()) paragraph += in.text();
                }
                paragraphs << paragraph;
            }
        }
    }
};

}  // namespace

class OfficeWorkbookTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir documents_;
    QString saved(const QString& name) const { return documents_.filePath(name); }
    QStringList files() const { return QDir(documents_.path()).entryList(QDir::Files | QDir::Hidden); }
    QStringList opened_;   // documents handed to the word processor

    // The width the file stores for `characters`: the cell padding added, in 1/256ths.
    static double storedWidth(double characters)
    {
        return std::floor(int(characters * 7 + 0.5 + 5) / 7.0 * 256) / 256;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(documents_.isValid());
        qputenv("ZYQHMZ_DOCUMENTS_DIR", documents_.path().toUtf8());
    }

    void init()
    {
        for (const QString& name : files()) QFile::remove(saved(name));
        win::setCopyByteLimit(std::nullopt);
        opened_.clear();
        office::setDocumentOpener([this](const QString& path) {
            opened_ << path;
            return true;
        });
    }

    void cleanup()
    {
        for (const QString& path : opened_) QFile::remove(path);
        office::setDocumentOpener({});
    }

    // The drug list export: headers in row 2, three drugs from row 5, texts only.
    // A text is read as the spreadsheet program reads typed text.
    void textsAreReadAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        const int text = int(Kind::Text), number = int(Kind::Number);
        QTest::newRow("thousands") << "1,250.00" << number << "" << 1250.0;
        QTest::newRow("negative") << "-3.5" << number << "" << -3.5;
        QTest::newRow("blanks around") << " 42 " << number << "" << 42.0;
        QTest::newRow("fraction only") << ".5" << number << "" << 0.5;
        QTest::newRow("exponent") << "1e3" << number << "" << 1000.0;
        QTest::newRow("percent") << "12%" << number << "" << 0.12;
        QTest::newRow("leading zeros") << "0012" << number << "" << 12.0;
        QTest::newRow("date") << "2024-3-5" << number << "" << 45356.0;
        QTest::newRow("date with slashes") << "2024/03/05" << number << "" << 45356.0;
        QTest::newRow("apostrophe keeps text") << "'0012" << text << "0012" << 0.0;
        QTest::newRow("code") << "DG01" << text << "DG01" << 0.0;
        QTest::newRow("bad grouping") << "1,25" << text << "1,25" << 0.0;
        QTest::newRow("two points") << "12.5.3" << text << "12.5.3" << 0.0;
        QTest::newRow("no date") << "2024-13-01" << text << "2024-13-01" << 0.0;
        QTest::newRow("sign alone") << "-" << text << "-" << 0.0;
    }

    void textsAreReadAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(int, kind);
        QFETCH(QString, text);
        QFETCH(double, number);
        {
            office::SheetStream stream(QStringLiteral("宋体"), 9);
            stream.write(1, 1, typed);
            stream.saveAs(saved("stream.xls"));
        }
        const auto cell = testing::XlsxReader(saved("stream.xls")).cell("A1");
        QVERIFY(cell);
        QCOMPARE(int(cell->kind), kind);
        if (cell->kind == Kind::Text) QCOMPARE(cell->text, text);
        else QCOMPARE(cell->number, number);
    }

    // Rows in order only; values keep their types (a date as its day count shown as
    // yyyy-mm-dd unless formatted); the sheet's font in every column, written or empty;
    // auto-fit to the widest cell, fixed widths kept.
    void streamedSheet()
    {
        office::SheetStream sheet(QStringLiteral("宋体 "), 9);
        for (int column : {2, 4}) sheet.fitColumn(column);
        sheet.write(2, 1, QStringLiteral("药品编码"));
        sheet.write(5, 2, QStringLiteral("六味地黄丸"));
        sheet.write(5, 3, 1250.0, QStringLiteral("#,##0.00_ "));
        sheet.write(6, 2, QStringLiteral("A"));
        sheet.write(6, 3, QString(), QStringLiteral("#,##0.00_ "));   // a formatted blank
        sheet.write(6, 4, QString());                                 // nothing
        sheet.write(7, 1, QDate(2004, 8, 19));
        sheet.write(7, 2, QDate(2004, 8, 19), QStringLiteral("yyyy年m月d日"));
        sheet.write(7, 3, vb::Currency::fromDouble(1234.5678));
        QCOMPARE(errorOf([&] { sheet.write(5, 1, QStringLiteral("back")); }), 1004);
        sheet.autoFit(2);
        sheet.autoFit(4);             // nothing written: no width
        sheet.setColumnWidth(1, 8.8);
        sheet.saveAs(saved("streamed.xls"));

        const testing::XlsxReader read(saved("streamed.xls"));
        QCOMPARE(read.cellCount(), 8);
        QCOMPARE(read.cell("A7")->number, 38218.0);   // the day count of 2004-08-19
        QCOMPARE(read.cell("A7")->numberFormat, QStringLiteral("yyyy-mm-dd"));
        QCOMPARE(read.cell("B7")->numberFormat, QStringLiteral("yyyy年m月d日"));
        QCOMPARE(read.cell("C7")->number, 1234.5678);
        QCOMPARE(read.cell("C6")->numberFormat, QStringLiteral("#,##0.00_ "));
        QCOMPARE(read.text("B5"), QStringLiteral("六味地黄丸"));
        QCOMPARE(read.cell("C5")->numberFormat, QStringLiteral("#,##0.00_ "));
        QCOMPARE(read.cell("C5")->fontSize, 9.0);
        QCOMPARE(*read.columnWidth(1), storedWidth(8.8));
        QCOMPARE(*read.columnWidth(2), storedWidth(10 * 9 / 11.0 + 1));
        for (int column : {4, 300}) QCOMPARE(read.columnFontName(column), QStringLiteral("宋体 "));
    }

    // Saving maps "c:\my documents\", replaces an older file, and never leaves a half
    // file: a missing folder or a full disk keeps what was there.
    void saveReplacesOnlyWhenComplete()
    {
        QVERIFY(testing::writeBytes(saved("a.xls"), "an older sheet"));
        auto save = [](const QString& path) {
            office::SheetStream sheet(QStringLiteral("宋体"), 9);
            sheet.write(2, 1, QStringLiteral("药品名称"));
            sheet.saveAs(path);
        };
        QCOMPARE(errorOf([&] { save("c:\\my documents\\no such folder\\a.xls"); }), 76);
        win::setCopyByteLimit(100);   // the disk fills while the workbook is written
        QCOMPARE(errorOf([&] { save("c:\\my documents\\a.xls"); }), 61);
        QCOMPARE(testing::bytesOf(saved("a.xls")), QByteArray("an older sheet"));
        win::setCopyByteLimit(std::nullopt);
        save("C:\\My Documents\\a.xls");
        QCOMPARE(testing::XlsxReader(saved("a.xls")).text("A2"), QStringLiteral("药品名称"));
        QCOMPARE(files(), QStringList{"a.xls"});
    }

    void writesTheTextInSongti11()
    {
        const QString text = QStringLiteral("药材名称：当归\r\n性味归经：甘、辛，温。\r\n打印时间：2004-08-19");
        office::showTextInDocument(text);

        QCOMPARE(opened_.size(), 1);
        QVERIFY(opened_[0].endsWith(QStringLiteral(".odt")));
        const DocumentContent content(contentOf(opened_[0]));
        QCOMPARE(content.paragraphs, (QStringList{"药材名称：当归", "性味归经：甘、辛，温。", "打印时间：2004-08-19"}));
        QCOMPARE(content.spanStyles.size(), 3);
        for (const QXmlStreamAttributes& style : content.spanStyles) {
            QCOMPARE(style.value("fo:font-family"), QStringLiteral("宋体"));
            QCOMPARE(style.value("fo:font-size"), QStringLiteral("11pt"));
            QVERIFY(style.value("fo:font-weight") != QStringLiteral("bold"));
        }
        QCOMPARE(QGuiApplication::clipboard()->text(), text);

        office::showTextInDocument(QStringLiteral("第二"));   // every text gets its own document
        QCOMPARE(opened_.size(), 2);
        QVERIFY(opened_[0] != opened_[1]);
        QCOMPARE(DocumentContent(contentOf(opened_[1])).paragraphs, QStringList{"第二"});
    }

    void noProgramToOpenItIsAnError()
    {
        QString offered;
        office::setDocumentOpener([&](const QString& path) {
            offered = path;
            return false;
        });
        const vb::Error error = testing::raised([] { office::showTextInDocument(QStringLiteral("当归")); });
        QCOMPARE(error.number(), 429);
        QCOMPARE(error.description(), QStringLiteral("ActiveX 部件不能创建对象"));
        QVERIFY(!offered.isEmpty());
        QVERIFY(!QFileInfo::exists(offered));
    }
};

QTEST_MAIN(OfficeWorkbookTest)
#include "office_workbook_test.moc"
