#pragma once
// Collects the messages logged through Qt's logging (the ovelsk.* categories)
// while it lives, instead of writing them to standard error.

#include <QLoggingCategory>
#include <QString>
#include <QtGlobal>
#include <string>
#include <string_view>
#include <vector>

namespace ovelsk::testing {

class LogCapture {
public:
    struct Message {
        QtMsgType type;
        std::string category;
        std::string text;
    };

    LogCapture() {
        current() = this;
        previous_ = qInstallMessageHandler(&keep);
    }
    ~LogCapture() {
        qInstallMessageHandler(previous_);
        current() = nullptr;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<Message>& messages() const { return messages_; }
    // Every message's text with a line end, in order; only those of `category` when given.
    std::string text(std::string_view category = {}) const {
        std::string all;
        for (const auto& message : messages_) {
            if (category.empty() || message.category == category) all += message.text + "\n";
        }
        return all;
    }
    void clear() { messages_.clear(); }

private:
    static LogCapture*& current() {
        static LogCapture* capture = nullptr;
        return capture;
    }
    static void keep(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        current()->messages_.push_back({type, context.category ? context.category : "", text.toStdString()});
    }

    QtMessageHandler previous_ = nullptr;
    std::vector<Message> messages_;
};

}  // namespace ovelsk::testing
