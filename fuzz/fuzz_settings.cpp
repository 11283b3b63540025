// The settings file reader and writer on any bytes: never a crash; a file read and written
// back unchanged is the same bytes; an entry set reads back exactly as set, and changes no
// entry of another section. The first byte chooses the text to set: one of a few awkward ones,
// or the input's last line.
#include "FuzzCheck.h"
#include "IniDocument.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace {
const QString Section = QStringLiteral("frmMain");
const QString Key = QStringLiteral("OnTop");
const QString OtherSection = QStringLiteral("Other");

const std::array<QString, 8> &texts()
{
    static const std::array<QString, 8> all{
        QStringLiteral("True"),
        QStringLiteral("-1234.5"),
        QStringLiteral(" a, b;c=d #e "),
        QStringLiteral("@Variant(\\0\\0\\0\\x7f)"),
        QStringLiteral("@@"),
        QStringLiteral("one\ntwo\r\n\t\"quoted\" \\"),
        QString(QChar(0)) + QStringLiteral("7\x7f"),
        QStringLiteral("Gr\u00fc\u00dfe \U0001F600"),
    };
    return all;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray file(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const QString text = data[0] < 0x80
                             ? texts()[data[0] % texts().size()]
                             : QString::fromUtf8(file.sliced(file.lastIndexOf('\n') + 1));

    IniDocument document(file);
    FUZZ_CHECK(document.bytes() == file);
    const std::optional<QString> other = document.value(OtherSection, Key);

    document.setValue(Section, Key, text);
    const IniDocument written(document.bytes());
    FUZZ_CHECK(written.value(Section, Key) == text);
    FUZZ_CHECK(written.value(OtherSection, Key) == other);
    FUZZ_CHECK(written.bytes() == document.bytes());
    return 0;
}
