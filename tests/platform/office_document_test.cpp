// Texts handed to the word processor: the document file holds the text as
// paragraphs in 宋体 11 pt, not bold; the clipboard receives the text; a document
// no program opens is an error and leaves no file.
#include "platform/office/document.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTest>
#include <QXmlStreamReader>
#include <zip.h>

namespace {

QByteArray contentOf(const QString& odt)
{
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(odt).constData(), ZIP_RDONLY, &error);
    if (!archive) return {};
    QByteArray content;
    zip_stat_t info;
    if (zip_stat(archive, "content.xml", 0, &info) == 0) {
        zip_file_t* file = zip_fopen(archive, "content.xml", 0);
        content.resize(qsizetype(info.size));
        zip_fread(file, content.data(), info.size);
        zip_fclose(file);
    }
    zip_close(archive);
    return content;
}

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

class OfficeDocumentTest : public QObject {
    Q_OBJECT

private:
    QStringList opened_;

private slots:
    void init()
    {
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
    }

    void everyTextGetsItsOwnDocument()
    {
        office::showTextInDocument(QStringLiteral("第一"));
        office::showTextInDocument(QStringLiteral("第二"));
        QCOMPARE(opened_.size(), 2);
        QVERIFY(opened_[0] != opened_[1]);
        QCOMPARE(DocumentContent(contentOf(opened_[0])).paragraphs, QStringList{"第一"});
        QCOMPARE(DocumentContent(contentOf(opened_[1])).paragraphs, QStringList{"第二"});
    }

    void noProgramToOpenItIsAnError()
    {
        QString offered;
        office::setDocumentOpener([&](const QString& path) {
            offered = path;
            return false;
        });
        try {
            office::showTextInDocument(QStringLiteral("当归"));
            QFAIL("no error raised");
        } catch (const office::Error& error) {
            QCOMPARE(error.number(), 429);
            QCOMPARE(error.description(), QStringLiteral("ActiveX 部件不能创建对象"));
        }
        QVERIFY(!offered.isEmpty());
        QVERIFY(!QFileInfo::exists(offered));
    }
};

QTEST_MAIN(OfficeDocumentTest)
#include "office_document_test.moc"
