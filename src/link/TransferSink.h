#pragma once
// Where a transfer delivers its one result message. Post is called on the
// worker thread; the desktop program forwards it to its event loop.
#include <functional>
#include <utility>

class TransferSink {
public:
    virtual ~TransferSink() = default;
    virtual void Post(int message) = 0;
};

// A sink that calls a function.
class FunctionSink : public TransferSink {
public:
    explicit FunctionSink(std::function<void(int)> post) : m_post(std::move(post)) {}
    void Post(int message) override {
        if (m_post) m_post(message);
    }

private:
    std::function<void(int)> m_post;
};
