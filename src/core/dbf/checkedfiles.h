#pragma once
// Files whose records passed the door checks, as they were then: device,
// inode, size, modification and change times. Any write (ours or another
// program's) sets the change time, which no program can set back, so a file
// found here is byte for byte one already checked: the ranking window, which
// reopens the Food table at each choice of nutrient, does not check 3 million
// numbers again each time. The system keeps file times with a coarse clock,
// so a write within the same tick as the last one may leave them as they
// were: only a file unchanged for a few seconds is remembered.
#include <QByteArray>
#include <sys/stat.h>

namespace CheckedFiles {
// What identifies a file as it is now: device, inode, size, both times.
QByteArray identityOf(const struct stat& st);
bool contains(const QByteArray& id);
void insert(const QByteArray& id);
}
