#pragma once

#include <QByteArray>
#include <QTemporaryFile>

// Catches what the process writes to one of its standard descriptors (1 or 2)
// between construction and take().
class OutputCapture
{
public:
    explicit OutputCapture(int fd);
    ~OutputCapture();
    QByteArray take();

private:
    void restore();

    int m_fd;
    int m_saved = -1;
    QTemporaryFile m_file;
};
