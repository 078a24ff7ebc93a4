// File names as the system has them: any bytes, also those that are not UTF-8, read as text
// and written back unchanged, and shown as Latin-1 where they are not UTF-8.
#include "base/files.h"

#include <QTest>

class FilesTest : public QObject {
    Q_OBJECT
  private slots:
    void namesKeepTheirBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8") << QByteArray("caf\xC3\xA9 \xF0\x9F\x98\x80") << "café 😀";
        QTest::newRow("Latin-1 beside UTF-8, the first and last code point of each length")
            << QByteArray("\xE9t\xC3\xA9\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"
                          "\xDF\xBF\xEF\xBF\xBF")
            << "été\u0080\u0800\U00010000\U0010FFFF\u07FF\uFFFF";
        QTest::newRow("a lead byte cut short") << QByteArray("a\xE2\x82") << "a\u00E2\u0082";
        QTest::newRow("two lead bytes") << QByteArray("\xE2\xE2\x82\xAC") << "\u00E2\u20AC";
        QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << "\u00C0\u00AF";
        QTest::newRow("encoded surrogate") << QByteArray("\xED\xB3\xA9") << "\u00ED\u00B3\u00A9";
        QTest::newRow("U+110000") << QByteArray("\xF4\x90\x80\x80") << "\u00F4\u0090\u0080\u0080";
        QTest::newRow("stray continuation") << QByteArray("x\x80y") << "x\u0080y";
        QTest::newRow("the highest bytes, before continuations")
            << QByteArray("\xFF\xFE\xF8\x90\x80\x80") << "\u00FF\u00FE\u00F8\u0090\u0080\u0080";
        QTest::newRow("a byte order mark beside a byte that is not UTF-8")
            << QByteArray("\x99\xEF\xBB\xBF") << QString("\u0099") + QChar(0xFEFF);
        QTest::newRow("NUL and a byte order mark") << QByteArray("\xEF\xBB\xBF\x61\0b", 6)
                                                   << QChar(0xFEFF) + QString("a") + QChar(0) + "b";
    }
    void namesKeepTheirBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const QString text = files::decodeName(bytes);
        QCOMPARE(files::encodeName(text), bytes);
        QCOMPARE(files::shownName(text), shown);
        // Text that shows as it is, is UTF-8 on disk.
        QCOMPARE(files::keepsBytes(text), shown.toUtf8() != bytes);
    }

    // What a user typed is written as UTF-8, whatever it holds.
    void typedTextIsUtf8() {
        const QString typed = QString::fromUtf8("Perch\xC3\xA9 \xF0\x9F\x8E\xA8") + QChar(0xDCE9);
        QCOMPARE(files::encodeName(files::shownName(typed)),
                 QByteArray("Perch\xC3\xA9 \xF0\x9F\x8E\xA8\xC3\xA9"));
        QCOMPARE(files::shownName(QString(QChar(0xD800)) + "x"), QString("\uFFFDx"));
        // A character beyond the first plane whose second half looks like a kept byte.
        const QString pair = QString::fromUcs4(U"\U00010080", 1);
        QVERIFY(!files::keepsBytes(pair));
        QCOMPARE(files::encodeName(pair), QByteArray("\xF0\x90\x82\x80"));
    }
};

QTEST_GUILESS_MAIN(FilesTest)
#include "files_test.moc"
