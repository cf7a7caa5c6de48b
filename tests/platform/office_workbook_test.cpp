// The workbook stand-in as the report writer drives it, a sheet streamed row by row:
// texts stay texts, cells keep their types and formats, the sheet-wide font,
// auto-fitted column widths, and a save that maps "c:\my documents\",
// replaces an older file and never leaves a half file behind (a full disk named as
// such). Every case reads the saved file back. Texts handed to the word processor:
// the document file holds the text as paragraphs in the user's own folder, swept
// after a day; the clipboard receives the text; a document no program opens is an
// error and leaves no file.
#include "platform/office/document.h"
#include "platform/office/sheet_stream.h"
#include "platform/win/filecopy.h"
#include "platform/raised.h"
#include "platform/xlsx_reader.h"
#include "support/test_environment.h"

#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <cmath>

using Kind = testing::XlsxReader::Cell::Kind;

namespace {

int errorOf(const std::function<void()>& call) { return testing::raised(call).number(); }

// The paragraphs' texts of a saved document.
QStringList paragraphsOf(const QString& odt)
{
    QStringList paragraphs;
    QXmlStreamReader in(testing::zipEntry(odt, "content.xml"));
    while (!in.atEnd())
        if (in.readNext() == QXmlStreamReader::StartElement && in.name() == u"p")
            paragraphs << in.readElementText(QXmlStreamReader::IncludeChildElements);
    return paragraphs;
}

}  // namespace

class OfficeWorkbookTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir documents_;
    QString saved(const QString& name) const { return documents_.filePath(name); }
    QStringList files() const { return QDir(documents_.path()).entryList(QDir::Files | QDir::Hidden); }
    QStringList opened_;   // documents handed to the word processor
    bool opens_ = true;    // whether a program opens them

    // The width the file stores for `characters`: the cell padding added, in 1/256ths.
    static double storedWidth(double characters)
    {
        return std::floor(int(characters * 7 + 0.5 + 5) / 7.0 * 256) / 256;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(documents_.isValid());
        QStandardPaths::setTestModeEnabled(true);
        qputenv("ZYQHMZ_DOCUMENTS_DIR", documents_.path().toUtf8());
    }

    void init()
    {
        for (const QString& name : files()) QFile::remove(saved(name));
        win::setCopyByteLimit(std::nullopt);
        opened_.clear();
        opens_ = true;
        office::setDocumentOpener([this](const QString& path) { opened_ << path; return opens_; });
    }

    void cleanup()
    {
        for (const QString& path : opened_) QFile::remove(path);
        office::setDocumentOpener({});
    }

    // A text stays a text cell, as it is, however much it looks like a number or a date.
    void textsStayTexts()
    {
        const char* texts[] = {"0000123", "00123", " -3.5 ", "1,250.00", "1e3", "12%", "2024/3/5", "'0012"};
        {
            office::SheetStream stream(QStringLiteral("宋体"), 9);
            for (int c = 0; c < int(std::size(texts)); ++c) stream.write(1, c + 1, QString::fromUtf8(texts[c]));
            stream.saveAs(saved("stream.xls"));
        }
        const testing::XlsxReader read(saved("stream.xls"));
        for (int c = 0; c < int(std::size(texts)); ++c) {
            const auto cell = read.cell(QString(QChar('A' + c)) + "1");
            QVERIFY2(cell && cell->kind == Kind::Text, texts[c]);
            QCOMPARE(cell->text, QString::fromUtf8(texts[c]));
        }
    }

    // Rows in order only; values keep their types (a date as its day count); the sheet's
    // font in every column, written or empty; auto-fit to the widest cell. (Fixed widths,
    // the default date format and the font size: the report windows' tests.)
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
        sheet.saveAs(saved("streamed.xls"));

        const testing::XlsxReader read(saved("streamed.xls"));
        QCOMPARE(read.cellCount(), 8);
        QCOMPARE(read.cell("A7")->number, 38218.0);   // the day count of 2004-08-19
        QCOMPARE(read.cell("B7")->numberFormat, QStringLiteral("yyyy年m月d日"));
        QCOMPARE(read.cell("C7")->number, 1234.5678);
        QCOMPARE(read.cell("C6")->numberFormat, QStringLiteral("#,##0.00_ "));
        QCOMPARE(*read.columnWidth(2), storedWidth(10 * 9 / 11.0 + 1));
        for (int column : {4, 300}) QCOMPARE(read.columnFontName(column), QStringLiteral("宋体 "));
    }

    // Saving maps "c:\my documents\", replaces an older file, and never leaves a half
    // file: a missing folder or a full disk keeps what was there.
    void saveReplacesOnlyWhenComplete()
    {
        QVERIFY(TestEnvironment::writeBytes(saved("a.xls"), "an older sheet"));
        auto save = [](const QString& path) {
            office::SheetStream sheet(QStringLiteral("宋体"), 9);
            sheet.write(2, 1, QStringLiteral("药品名称"));
            sheet.saveAs(path);
        };
        QCOMPARE(errorOf([&] { save("c:\\my documents\\no such folder\\a.xls"); }), 76);
        win::setCopyByteLimit(100);   // the disk fills while the workbook is written
        QCOMPARE(errorOf([&] { save("c:\\my documents\\a.xls"); }), 61);
        QCOMPARE(TestEnvironment::bytesOf(saved("a.xls")), QByteArray("an older sheet"));
        win::setCopyByteLimit(std::nullopt);
        {   // the disk fills while the workbook itself is made: the same cause, named
            QTemporaryDir scratch;
            const QByteArray systemTemporary = qgetenv("TMPDIR");
            qputenv("TMPDIR", QFile::encodeName(scratch.path()));
            office::SheetStream sheet(QStringLiteral("宋体"), 9);
            qputenv("TMPDIR", systemTemporary);
            sheet.write(2, 1, QStringLiteral("药品名称"));
            const QString made = QDir(scratch.path()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot).value(0).filePath();
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), made + QStringLiteral("/workbook.xlsx")));
            const vb::Error full = testing::raised([&] { sheet.saveAs("c:\\my documents\\a.xls"); });
            QCOMPARE(full.number(), 61);
        }
        QCOMPARE(TestEnvironment::bytesOf(saved("a.xls")), QByteArray("an older sheet"));
        save("C:\\My Documents\\a.xls");
        QCOMPARE(testing::XlsxReader(saved("a.xls")).text("A2"), QStringLiteral("药品名称"));
        QCOMPARE(files(), QStringList{"a.xls"});
    }

    // Every text gets its own document, one paragraph a line, and goes to the clipboard.
    void writesTheTextAsParagraphs()
    {
        office::showTextInDocument(QStringLiteral("药材名称：当归\r\n性味归经：甘、辛，温。\r\n打印时间：2004-08-19"));
        office::showTextInDocument(QStringLiteral("第二"));
        QCOMPARE(opened_.size(), 2);
        QCOMPARE(paragraphsOf(opened_[0]), (QStringList{"药材名称：当归", "性味归经：甘、辛，温。", "打印时间：2004-08-19"}));
        QCOMPARE(paragraphsOf(opened_[1]), QStringList{"第二"});
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("第二"));
        // The user's own folder, where a document older than a day is gone at the next.
        const QString folder = QFileInfo(opened_[0]).absolutePath();
        QCOMPARE(QFileInfo(folder).permissions() & 0x7777, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                                | QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
        QFile old(opened_[0]);
        QVERIFY(old.open(QIODevice::ReadWrite) && old.setFileTime(QDateTime::currentDateTime().addSecs(-86500),
                                                                  QFileDevice::FileModificationTime));
        old.close();
        office::showTextInDocument(QStringLiteral("第三"));
        QVERIFY(!QFileInfo::exists(opened_[0]) && QFileInfo::exists(opened_[1]));
        opened_.removeLast();

        // No program to open it: an error, and no file left behind.
        opens_ = false;
        const vb::Error error = testing::raised([] { office::showTextInDocument(QStringLiteral("当归")); });
        QVERIFY(error.number() == 429 && error.description() == QStringLiteral("ActiveX 部件不能创建对象"));
        QVERIFY(!QFileInfo::exists(opened_.last()) && opened_.size() == 3);
    }
};

QTEST_MAIN(OfficeWorkbookTest)
#include "office_workbook_test.moc"
