#include "ProcessUsage.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QWindow>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizers' allocator interface, whose header GCC does not install.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
extern "C" void __sanitizer_purge_allocator();
#endif

namespace {
// Private_Clean is left out: those are pages of files (the program itself, fonts) that the
// kernel drops and reads in again as it likes, so they come and go with the machine's load.
qint64 readPrivateKiB()
{
    QFile rollup(QStringLiteral("/proc/self/smaps_rollup"));
    if (!rollup.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    // The line reads "Private_Dirty:      1234 kB".
    for (const QByteArray &line : rollup.readAll().split('\n')) {
        if (line.startsWith("Private_Dirty:"))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// AddressSanitizer brings its own allocator, which glibc's figures know nothing of.
qint64 readHeapKiB()
{
#if defined(__SANITIZE_ADDRESS__)
    return qint64(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    return qint64(mallinfo2().uordblks / 1024);
#endif
}

// An allocator keeps what was freed for the next allocation, and a passing peak would read as
// growth for as long as it keeps it; handed back to the kernel first, the pages counted are
// those the program holds.
void returnFreeMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_purge_allocator();
#else
    malloc_trim(0);
#endif
}
} // namespace

ProcessUsage ProcessUsage::now()
{
    returnFreeMemory();
    ProcessUsage usage;
    usage.privateKiB = readPrivateKiB();
    usage.heapKiB = readHeapKiB();
    // The listing's own descriptor is open while it is read.
    usage.descriptors = int(QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                                .size()) -
                        1;
    usage.widgets = int(QApplication::allWidgets().size());
    usage.windows = int(QGuiApplication::allWindows().size());
    return usage;
}

QString ProcessUsage::toString() const
{
    return QStringLiteral("private %1 KiB, heap %2 KiB, %3 descriptors, %4 widgets, %5 native "
                          "windows")
        .arg(privateKiB)
        .arg(heapKiB)
        .arg(descriptors)
        .arg(widgets)
        .arg(windows);
}
