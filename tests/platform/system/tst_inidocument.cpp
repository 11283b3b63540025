#include <QTest>

#include "IniDocument.h"

namespace {
// Keeps the NUL and other bytes a literal holds.
template <qsizetype Size> QByteArray bytes(const char (&text)[Size])
{
    return QByteArray(text, Size - 1);
}

// What the program's settings file holds after an Exit.
const QByteArray KelvoFile("[frmMain]\nHeight=825\nLeft=1200.5\nOnTop=True\nTop=-30\n"
                           "Width=2175\nWindowState=0\n\n[frmOptions]\nWindowState=0\n");
} // namespace

class tst_IniDocument : public QObject {
    Q_OBJECT

private slots:
    void readsText_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected"); // null: no entry

        QTest::newRow("a word the program wrote") << KelvoFile << "frmMain"
                                                  << "OnTop"
                                                  << "True";
        QTest::newRow("a number the program wrote") << KelvoFile << "frmMain"
                                                    << "Top"
                                                    << "-30";
        QTest::newRow("the same key in another section") << KelvoFile << "frmOptions"
                                                         << "WindowState"
                                                         << "0";
        QTest::newRow("keys are case-sensitive") << KelvoFile << "frmMain"
                                                 << "ontop" << QString();
        QTest::newRow("sections are case-sensitive") << KelvoFile << "FRMMAIN"
                                                     << "OnTop" << QString();
        QTest::newRow("a serialised object stays text")
            << QByteArray("[frmMain]\nOnTop=@Variant(\\0\\0\\0\\t\\0\\0\\0\\0\\x1)\n") << "frmMain"
            << "OnTop" << QString::fromLatin1(bytes("@Variant(\0\0\0\t\0\0\0\0\x01)"));
        QTest::newRow("a doubled at sign is one") << QByteArray("[s]\nk=@@Variant(x)\n") << "s"
                                                  << "k"
                                                  << "@Variant(x)";
        QTest::newRow("quotes and escapes")
            << QByteArray("[s]\nk=\" a;b \\\"c\\\" \"\\n\\t\\101\\x42\n") << "s"
            << "k"
            << " a;b \"c\" \n\tAB";
        QTest::newRow("unquoted commas make a list") << QByteArray("[s]\nk = 1,2 ,  3\n") << "s"
                                                     << "k"
                                                     << "1, 2, 3";
        QTest::newRow("a comment after the value")
            << QByteArray("[s]\nk=True ; set by hand\n") << "s"
            << "k"
            << "True";
        QTest::newRow("Windows line ends") << QByteArray("[s]\r\nk=False\r\n") << "s"
                                           << "k"
                                           << "False";
        QTest::newRow("percent-encoded names")
            << QByteArray("[my%20form]\nkey%U00E9=1\n") << "my form" << u"key\u00e9"_qs << "1";
        QTest::newRow("the last of a repeated key")
            << QByteArray("[s]\nk=1\n[t]\nk=2\n[s]\nk=3\n") << "s"
            << "k"
            << "3";
        QTest::newRow("entries before any section belong to none")
            << QByteArray("k=1\n[s]\n") << "s"
            << "k" << QString();
        QTest::newRow("comment lines are not entries") << QByteArray("[s]\n;k=1\n# k=2\n") << "s"
                                                       << "k" << QString();
        QTest::newRow("a valid entry among binary noise")
            << bytes("\x01\xff\xfe\0noise\n=no key\n[s]\nk=120\n[[[\n[s\nx=\x80\x81\n") << "s"
            << "k"
            << "120";
    }

    void readsText()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const IniDocument document(file);
        QCOMPARE(document.bytes(), file);
        QCOMPARE(document.value(section, key),
                 expected.isNull() ? std::nullopt : std::optional(expected));
    }

    void changesOneLine_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("a value replaced, comments and foreign bytes kept")
            << bytes("; mine\n[frmMain]\nOnTop=@Variant(junk) ; x\n# note\n[other]\nk=\xe9\xff\n")
            << "frmMain"
            << "False" << bytes("; mine\n[frmMain]\nOnTop=False\n# note\n[other]\nk=\xe9\xff\n");
        QTest::newRow("a key added after the section's last entry")
            << QByteArray("[frmMain]\nLeft=1\n\n; next\n[other]\n") << "frmMain"
            << "True" << QByteArray("[frmMain]\nLeft=1\nOnTop=True\n\n; next\n[other]\n");
        QTest::newRow("a section added after a blank line")
            << QByteArray("[other]\nk=v") << "frmMain"
            << "True" << QByteArray("[other]\nk=v\n\n[frmMain]\nOnTop=True\n");
        QTest::newRow("an empty file") << QByteArray() << "frmMain"
                                       << "True" << QByteArray("[frmMain]\nOnTop=True\n");
        QTest::newRow("Windows line ends kept")
            << QByteArray("[frmMain]\r\nOnTop=True\r\nTop=1\r\n") << "frmMain"
            << "False" << QByteArray("[frmMain]\r\nOnTop=False\r\nTop=1\r\n");
        QTest::newRow("text that needs quotes and escapes")
            << QByteArray() << "s"
            << " a;b\n@\"\\" << QByteArray("[s]\nOnTop=\" a;b\\n@\\\"\\\\\"\n");
        QTest::newRow("a leading at sign doubled")
            << QByteArray() << "s"
            << "@Variant()" << QByteArray("[s]\nOnTop=@@Variant()\n");
    }

    // Only the entry's own line changes, and it reads back as set.
    void changesOneLine()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, text);
        IniDocument document(before);
        document.setValue(section, QStringLiteral("OnTop"), text);
        QTEST(document.bytes(), "after");
        QCOMPARE(IniDocument(document.bytes()).value(section, QStringLiteral("OnTop")), text);
    }
};

QTEST_GUILESS_MAIN(tst_IniDocument)
#include "tst_inidocument.moc"
