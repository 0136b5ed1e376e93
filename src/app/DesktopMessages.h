#pragma once

#include "common/Messages.h"

// Message boxes on the desktop.
class DesktopMessages : public Messages {
  public:
    MsgAnswer show(const MessageRequest& request) override;
};
