#pragma once

#include <QString>
#include <QtGlobal>

// What the process holds at one moment: the figures a long run must find steady.
struct ProcessUsage {
    qint64 privateKiB = 0; // Private_Dirty of /proc/self/smaps_rollup: what only it has written
    qint64 heapKiB = 0;    // what the program's allocations hold, from the allocator
    int descriptors = 0;   // entries of /proc/self/fd
    int widgets = 0;       // QApplication::allWidgets()
    int windows = 0;       // QGuiApplication::allWindows(): the native windows

    static ProcessUsage now();
    QString toString() const;
};
