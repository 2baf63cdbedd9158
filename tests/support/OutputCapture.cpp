#include "OutputCapture.h"

#include <cstdio>

#include <unistd.h>

OutputCapture::OutputCapture(int fd)
    : m_fd(fd)
{
    std::fflush(stdout);
    std::fflush(stderr);
    if (!m_file.open())
        return;
    m_saved = ::dup(m_fd);
    if (m_saved >= 0)
        ::dup2(int(m_file.handle()), m_fd);
}

OutputCapture::~OutputCapture()
{
    restore();
}

void OutputCapture::restore()
{
    if (m_saved < 0)
        return;
    std::fflush(stdout);
    std::fflush(stderr);
    ::dup2(m_saved, m_fd);
    ::close(m_saved);
    m_saved = -1;
}

QByteArray OutputCapture::take()
{
    restore();
    m_file.seek(0);
    return m_file.readAll();
}
