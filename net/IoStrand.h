#pragma once

#include <boost/asio/io_context.hpp>
#include <boost/asio/strand.hpp>

namespace Ferro {

// The one serial executor of a client's sockets. Every channel of one client
// (connector, TCP and UDP senders and readers) is given the same strand: all
// socket work and every completion handler of that client then runs one at a
// time on whichever thread runs the io_context, so the sockets, the
// connection tables and the receiver processor are never used by two threads
// at once. Calls that come from other threads (a send on the send thread, a
// registration on the main thread) are posted to it.
//
// Owner: declare the io_context before every socket and channel (so that it
// is destroyed after them), then
//   Ferro::IoStrand strand(io.get_executor());
// and run the io_context on the client's I/O thread with runEventLoop. To end:
// io.stop(), join the I/O thread, then destroy the channels.
using IoStrand = boost::asio::strand<boost::asio::io_context::executor_type>;

// Runs the io_context until it is stopped or runs out of work. An exception
// that a handler lets out is logged (ERROR) and the loop goes on, so nothing
// escapes the network thread that calls this.
void runEventLoop(boost::asio::io_context& io);

}  // namespace Ferro
