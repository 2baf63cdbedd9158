#pragma once

// Shows the wait cursor for as long as it lives.
class TempCursor
{
public:
    TempCursor();
    ~TempCursor();

    TempCursor(const TempCursor &) = delete;
    TempCursor &operator=(const TempCursor &) = delete;
};
