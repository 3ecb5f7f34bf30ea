#pragma once

#include <QFile>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

// The memory the process holds in RAM, in KiB, or -1 where the system does not say.
inline long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Bytes of the heap in use by the program's own allocations, in KiB, or -1 where the C
// library does not say. Unlike the resident memory, it leaves out freed memory the heap
// keeps for later.
inline long heapInUseKiB()
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    const struct mallinfo2 info = mallinfo2();
    return long((info.uordblks + info.hblkhd) / 1024);
#else
    return -1;
#endif
}
