#pragma once

#include <QString>
#include <QTemporaryDir>

namespace lexora::test {

// A folder on a disk of its own with little room, as on a learner's full disk. The disk is mounted in
// a mount namespace of this test process alone, so nothing outside it sees the disk; that takes root,
// and isReady() is false elsewhere (the caller skips).
class SmallDisk
{
public:
    explicit SmallDisk(qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool isReady() const { return m_mounted; }
    const QString& path() const { return m_path; }
    // Takes up the disk's room but for about `room` bytes (whole pages).
    bool fill(qint64 room);

private:
    QTemporaryDir m_dir;
    QString m_path;
    bool m_mounted = false;
};

} // namespace lexora::test
