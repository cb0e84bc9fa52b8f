#pragma once
// Ownership of what xcb hands back: a reply, an error or an event is one
// malloc'ed block that the caller frees.

#include <cstdlib>
#include <memory>

namespace tonfang {

struct FreeDeleter {
    void operator()(void *block) const noexcept { std::free(block); }
};

template <typename Reply>
using XcbReply = std::unique_ptr<Reply, FreeDeleter>;

// Takes over a reply (or null) as xcb returns it: owned(xcb_..._reply(...)).
template <typename Reply>
XcbReply<Reply> owned(Reply *reply)
{
    return XcbReply<Reply>(reply);
}

} // namespace tonfang
