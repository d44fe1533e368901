#include "crypt/cryptpswdu.h"
#include "platform/textfile.h"
#include "testenvironment.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTest>
#include <QTextDocument>

namespace {

// The scrambled document saved as a plain text file in this format and opened again: the file
// layer turns line breaks into "\n", the editing area gives them back as CR LF.
QString throughTextFile(const QString &text, const TextFormat &format) {
    QString lf = text;
    lf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QByteArray bytes = EncodeText(lf, format);
    QString back = DecodeText(bytes, DetectTextFormat(bytes));
    back.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return back;
}

// What an editing area does with it: paragraphs in a text document, read back raw.
QString throughDocument(const QString &text) {
    QString lf = text;
    lf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QTextDocument doc;
    doc.setPlainText(lf);
    QString back = doc.toRawText();
    back.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return back;
}

QString randomText(QRandomGenerator &rng, int maxLength) {
    const int n = int(rng.bounded(maxLength + 1));
    QString s;
    for (int i = 0; i < n; ++i) {
        switch (rng.bounded(10)) {
        case 0:
            s += QLatin1String("\r\n");
            break;
        case 1: {
            static const char16_t controls[] = {u'\t', u'\n', u'\r', 0, 1, 0x1F, 0x7F, 0xA0, 0xAD};
            s += QChar(controls[rng.bounded(int(std::size(controls)))]);
            break;
        }
        case 2:
            s += QChar(char16_t(0x80 + rng.bounded(0x180))); // Latin-1, C1, Latin Extended
            break;
        case 3:
            s += QChar(char16_t(0x2010 + rng.bounded(0x30))); // quotes, dashes, ellipsis
            break;
        case 4: {
            const char32_t cp = char32_t(0x10000 + rng.bounded(0xFFFF0));
            s += QString::fromUcs4(&cp, 1);
            break;
        }
        case 5:
            s += QChar(char16_t(0x3000 + rng.bounded(0x6000))); // CJK and more
            break;
        default:
            s += QChar(char16_t(32 + rng.bounded(95))); // printable ASCII
            break;
        }
    }
    return s;
}

QString printable(QRandomGenerator &rng, int minLength, int maxLength, bool lineBreaks) {
    const int n = minLength + int(rng.bounded(maxLength - minLength + 1));
    QString s;
    for (int i = 0; i < n; ++i) {
        if (lineBreaks && rng.bounded(20) == 0)
            s += QLatin1String("\r\n");
        else
            s += QChar(char16_t(32 + rng.bounded(95)));
    }
    return s;
}

QString bytesOf(std::initializer_list<int> codes) {
    QString s;
    for (int c : codes)
        s += QChar(char16_t(c));
    return s;
}

} // namespace

class tst_CryptPswdU : public QObject {
    Q_OBJECT

private slots:
    // The shifted bytes of earlier versions, shown as Windows-1252 characters.
    void encryptsPrintableTextByteForByte_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("expected");
        QTest::addRow("two-byte password cycles") << "Hello"
                                                  << "ab" << bytesOf({169, 199, 205, 206, 208});
        QTest::addRow("line breaks shift too") << "A\r\nB"
                                               << " "
                                               << "a-*b";
        QTest::addRow("highest byte") << "~~"
                                      << "~" << bytesOf({252, 252});
        QTest::addRow("code page quote marks")
            << "ap"
            << "!" << bytesOf({0x201A, 0x2018}); // bytes 0x82 and 0x91
        QTest::addRow("undefined code page byte") << "`"
                                                  << "!" << bytesOf({0x81});
        QTest::addRow("no-break space") << "\x7f"
                                        << "!" << bytesOf({0xA0});
        QTest::addRow("password longer than text") << "a"
                                                   << "0123" << bytesOf({0x2018});
        QTest::addRow("empty text") << ""
                                    << "pw"
                                    << "";
    }
    void encryptsPrintableTextByteForByte() {
        QFETCH(QString, text);
        QFETCH(QString, password);
        QFETCH(QString, expected);
        const QString scrambled = EncryptText(text, password);
        QCOMPARE(scrambled, expected);
        QCOMPARE(DecryptText(scrambled, password), std::optional<QString>(text));
    }

    void oneCharacterPasswordShiftsEveryByteAlike() {
        const QString scrambled = EncryptText(QStringLiteral("ABCabc 123"), QStringLiteral("*"));
        // Bytes 107 to 109, 139 to 141, 74 and 91 to 93, each 42 above the text's.
        QCOMPARE(scrambled, bytesOf({107, 108, 109, 0x2039, 0x0152, 0x008D, 74, 91, 92, 93}));
    }

    void printableResultStaysOneLineOfVisibleCharacters() {
        QRandomGenerator rng(7);
        for (int round = 0; round < 300; ++round) {
            const QString text = printable(rng, 0, 200, true);
            const QString password = printable(rng, 1, 12, false);
            const QString scrambled = EncryptText(text, password);
            QCOMPARE(scrambled.size(), text.size());
            QVERIFY(!scrambled.startsWith(QLatin1String("!QVS1!")));
            for (const QChar c : scrambled)
                QVERIFY2(c.unicode() >= 42, qPrintable(text));
            QCOMPARE(DecryptText(scrambled, password), std::optional<QString>(text));
        }
    }

    void otherPasswordDoesNotRestore() {
        const QString text = QStringLiteral("Meet me at noon.\r\nBring the map.");
        const QString scrambled = EncryptText(text, QStringLiteral("right"));
        QVERIFY(DecryptText(scrambled, QStringLiteral("wrong")) != std::optional<QString>(text));
        const QString wide = EncryptText(QStringLiteral("Grüße 🌍"), QStringLiteral("right"));
        QCOMPARE(DecryptText(wide, QStringLiteral("wrong")), std::nullopt);
    }

    void codePageTextKeepsTheClassicBytes() {
        // Accented text the code page holds is scrambled as earlier versions did when the bytes
        // stay visible.
        const QString text = QStringLiteral("café");
        const QString scrambled = EncryptText(text, QStringLiteral("pw"));
        QCOMPARE(scrambled, bytesOf({99 + 112, 97 + 119, 102 + 112, (233 + 119) % 256}));
        QCOMPARE(DecryptText(scrambled, QStringLiteral("pw")), std::optional<QString>(text));
    }

    void textBeyondTheCodePageTakesTheExtendedForm_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("password");
        QTest::addRow("unicode text") << QStringLiteral("Ωμέγα → 🌍") << "pw";
        QTest::addRow("unicode password") << "plain" << QStringLiteral("pässwört€🔑");
        QTest::addRow("lone LF") << "one\ntwo"
                                 << "pw";
        QTest::addRow("lone CR") << "one\rtwo"
                                 << "pw";
        QTest::addRow("tab wraps below 42") << "\t"
                                            << "\x01";
        QTest::addRow("NUL in text") << QString(QChar(0)) + "x"
                                     << "pw";
        QTest::addRow("sum wraps past 255") << QStringLiteral("ÿÿÿ") << "!!";
        QTest::addRow("unpaired surrogate") << QString(QChar(0xD800)) + "a" + QChar(0xDC00) << "k";
    }
    void textBeyondTheCodePageTakesTheExtendedForm() {
        QFETCH(QString, text);
        QFETCH(QString, password);
        const QString scrambled = EncryptText(text, password);
        QVERIFY(scrambled.startsWith(QLatin1String("!QVS1!\r\n")));
        QVERIFY2(CryptRatio(scrambled) >= 2, qPrintable(scrambled));
        for (const QChar c : scrambled)
            QVERIFY(c == u'\r' || c == u'\n' || (c.unicode() > 32 && c.unicode() < 127));
        QCOMPARE(DecryptText(scrambled, password), std::optional<QString>(text));
    }

    void decryptRefusesWhatItCannotRestore_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("password");
        QTest::addRow("would give NUL") << "x"
                                        << "x";
        QTest::addRow("would give lone CR") << QString(QChar(13 + 97)) + "z"
                                            << "a";
        QTest::addRow("not in the code page") << QStringLiteral("日本語") << "pw";
        QString damaged = EncryptText(QStringLiteral("Ω text"), QStringLiteral("pw"));
        damaged[10] = damaged[10] == u'#' ? u'$' : u'#';
        QTest::addRow("damaged extended form") << damaged << "pw";
        QTest::addRow("extended form cut short") << damaged.left(9) << "pw";
    }
    void decryptRefusesWhatItCannotRestore() {
        QFETCH(QString, text);
        QFETCH(QString, password);
        QCOMPARE(DecryptText(text, password), std::nullopt);
    }

    void emptyPasswordChangesNothing() {
        QCOMPARE(EncryptText(QStringLiteral("abc"), QString()), QStringLiteral("abc"));
        QCOMPARE(DecryptText(QStringLiteral("abc"), QString()),
                 std::optional<QString>(QStringLiteral("abc")));
    }

    void lineBreakAddedAtTheEndIsKept() {
        const QString text = QStringLiteral("Plain words");
        const QString scrambled = EncryptText(text, QStringLiteral("key"));
        QCOMPARE(DecryptText(scrambled + QLatin1String("\r\n"), QStringLiteral("key")),
                 std::optional<QString>(text + QLatin1String("\r\n")));
        const QString wide = EncryptText(QStringLiteral("Ω"), QStringLiteral("key"));
        QCOMPARE(DecryptText(wide + QLatin1String("\r\n"), QStringLiteral("key")),
                 std::optional<QString>(QStringLiteral("Ω")));
    }

    // Any text, any password: unscrambling what was scrambled gives the text back, also after the
    // scrambled text went through the editing area and a plain text file.
    void roundTripProperty() {
        QRandomGenerator rng(20240611);
        for (int round = 0; round < 3000; ++round) {
            // Every third round printable, so that the classic bytes go through the area too.
            const QString text = round % 3 == 0 ? printable(rng, 0, 300, true)
                                                : randomText(rng, round % 50 == 1 ? 2000 : 60);
            const QString password =
                round % 3 != 0 && rng.bounded(2) ? randomText(rng, 8) : printable(rng, 1, 8, false);
            if (password.isEmpty())
                continue;
            const QString scrambled = EncryptText(text, password);
            const std::optional<QString> direct = DecryptText(scrambled, password);
            QVERIFY2(direct == text, qPrintable(QStringLiteral("round %1").arg(round)));
            TextFormat format;
            if (round % 2) {
                format.encoding = TextEncoding::Windows1252;
                format.lineBreak = LineBreak::CRLF;
            }
            const QString kept = throughTextFile(throughDocument(scrambled), format);
            QVERIFY2(DecryptText(kept, password) == text,
                     qPrintable(QStringLiteral("round %1 after saving").arg(round)));
        }
    }

    void ratio_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("ratio");
        QTest::addRow("empty") << "" << 0;
        QTest::addRow("prose") << "The quick brown fox jumps over the lazy dog.\r\n" << 1;
        QTest::addRow("digits only") << "3141592653" << 0;
        QTest::addRow("half letters") << "a b c d " << 1;
        QTest::addRow("punctuation") << "!?!?" << 4;
    }
    void ratio() {
        QFETCH(QString, text);
        QFETCH(int, ratio);
        QCOMPARE(CryptRatio(text), ratio);
    }

    void scrambledProseLooksScrambled() {
        QRandomGenerator rng(3);
        const QString prose = QStringLiteral(
            "It was the best of times, it was the worst of times, it was the age of wisdom,\r\n"
            "it was the age of foolishness, it was the epoch of belief.");
        for (int round = 0; round < 100; ++round) {
            const QString password = printable(rng, 1, 10, false);
            QVERIFY2(CryptRatio(EncryptText(prose, password)) >= 2, qPrintable(password));
        }
    }
};

QUILLET_TEST_MAIN(tst_CryptPswdU)
#include "tst_cryptpswdu.moc"
