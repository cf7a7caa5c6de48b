// The animation control and its AVI files: the generated working clip reads back
// frame for frame, and a missing, damaged or compressed clip fails quietly: Open
// reports false and Play starts nothing.
#include "platform/forms/animation.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace forms;

class FormsAnimationTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString path(const QString& name) const { return dir_.filePath(name); }

    static QByteArray bytesOf(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private slots:
    void theWorkingClipRoundTrips()
    {
        const AviClip made = makeWorkingClip(30, 9, 5);    // odd sizes: padded rows
        QVERIFY(writeAvi(path("working.avi"), made));
        AviClip read;
        QVERIFY(readAvi(path("working.avi"), read));
        QCOMPARE(read.frames.size(), made.frames.size());
        QCOMPARE(read.frameMicroseconds, made.frameMicroseconds);
        for (std::size_t i = 0; i < made.frames.size(); ++i)
            QCOMPARE(read.frames[i], made.frames[i].convertToFormat(QImage::Format_RGB32));
        QVERIFY(made.frames.front() != made.frames.back());   // the bar moves

        QVERIFY(writeWorkingAvi(path("default.avi")));
        Animation player;
        QVERIFY(player.Open(path("default.avi")));
        QVERIFY(player.frameCount() > 1);
        player.Play();
        QVERIFY(player.isPlaying());
        player.Stop();
        QVERIFY(!player.isPlaying());
    }

    void aMissingClipBlocksNothing()
    {
        Animation player;
        QVERIFY(!player.Open(path("nowhere/working.avi")));
        player.Play();
        QVERIFY(!player.isPlaying());
        player.Stop();
        QVERIFY(!writeAvi(path("nowhere/out.avi"), makeWorkingClip()));
    }

    void damagedOrCompressedClipsAreRefused()
    {
        QVERIFY(writeWorkingAvi(path("good.avi")));
        const QByteArray good = bytesOf(path("good.avi"));
        AviClip clip;

        write(path("cut.avi"), good.left(good.size() / 2));
        QVERIFY(!readAvi(path("cut.avi"), clip));
        QVERIFY(clip.frames.empty());

        write(path("text.avi"), "not a clip at all");
        QVERIFY(!readAvi(path("text.avi"), clip));

        QByteArray compressed = good;                       // biCompression = 'MJPG'
        const qsizetype strf = compressed.indexOf("strf");
        compressed.replace(strf + 8 + 16, 4, "MJPG");
        write(path("mjpg.avi"), compressed);
        QVERIFY(!readAvi(path("mjpg.avi"), clip));

        QByteArray huge = good;                             // a chunk longer than the file
        const qsizetype movi = huge.indexOf("00db");
        huge.replace(movi + 4, 4, QByteArray("\xff\xff\xff\x7f", 4));
        write(path("huge.avi"), huge);
        QVERIFY(!readAvi(path("huge.avi"), clip));

        Animation player;
        QVERIFY(!player.Open(path("huge.avi")));
        player.Play();
        QVERIFY(!player.isPlaying());
    }
};

QTEST_MAIN(FormsAnimationTest)
#include "forms_animation_test.moc"
