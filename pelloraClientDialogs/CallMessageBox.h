#pragma once

#include "MessageBoxInterface.h"
#include "PrintClientDialog.h"

#include <memory>

// The message box a handler was given, or else a box of its own for the one
// call, gone when the call returns.
class CallMessageBox
{
public:
    explicit CallMessageBox(MessageBoxInterface *given)
        : m_box(given)
    {
        if (!m_box) {
            m_ownBox = std::make_unique<PrintClientDialog>(nullptr);
            m_box = m_ownBox.get();
        }
    }

    MessageBoxInterface *operator->() const { return m_box; }
    MessageBoxInterface &operator*() const { return *m_box; }

private:
    std::unique_ptr<PrintClientDialog> m_ownBox;
    MessageBoxInterface *m_box;
};
