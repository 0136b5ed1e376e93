#pragma once

#include <QList>
#include <QStringList>
#include <deque>

#include "common/Messages.h"

// Records every message box and answers questions from a script (the default answer when the
// script is used up). Installs itself for its lifetime.
class RecordingMessages : public Messages {
  public:
    RecordingMessages() { Messages::install(this); }
    ~RecordingMessages() override { Messages::install(nullptr); }

    MsgAnswer show(const MessageRequest& request) override {
        shown.append(request);
        if (answers.empty()) {
            return request.defaultAnswer;
        }
        const MsgAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QStringList texts() const {
        QStringList all;
        for (const MessageRequest& r : shown) {
            all.append(r.text);
        }
        return all;
    }
    const MessageRequest& last() const { return shown.last(); }

    QList<MessageRequest> shown;
    std::deque<MsgAnswer> answers;
};
