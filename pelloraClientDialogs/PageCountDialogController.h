#pragma once

class KoaSessionInfo;

// What the page count dialog needs beyond its model: its timeout and the
// session whose accounts it may show.
class PageCountDialogController
{
public:
    PageCountDialogController(KoaSessionInfo *session, long timeout);

    void setTimeout(long seconds) { m_timeout = seconds; }
    long timeout() const { return m_timeout; }
    KoaSessionInfo *sessionInfo() const { return m_session; }
    bool showAccountInfoButton() const;

private:
    KoaSessionInfo *m_session;
    long m_timeout;
};
