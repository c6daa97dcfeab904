#pragma once

#include <memory>

#include "foundation/Types.h"

namespace Corvel {
struct QueuedMessage;
}

namespace Convinience {

// A command executes itself. Received commands parse their data in their
// constructor; local ones are built by an IDBasedCommandFactory.
class Command {
public:
    virtual ~Command() = default;
    virtual void execute() = 0;
};

// Builds the command that belongs to a received message. Answers null, or
// throws InvalidCommandDataException, for a message that cannot be parsed.
class CommandFactory {
public:
    virtual ~CommandFactory() = default;
    virtual std::unique_ptr<Command> create(const Corvel::QueuedMessage& message) = 0;
};

// Builds a command that this side issues itself, by its command ID.
class IDBasedCommandFactory {
public:
    virtual ~IDBasedCommandFactory() = default;
    virtual std::unique_ptr<Command> create(u32 commandId) = 0;
};

}  // namespace Convinience
