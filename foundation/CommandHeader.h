#pragma once

#include "foundation/Command.h"
#include "foundation/Serializable.h"

namespace Corvel {

// The 17 bytes in front of every command.
//
// | offset | field               | type |
// |--------|---------------------|------|
// | 0      | clientId            | u32  |
// | 4      | commandId           | u32  |
// | 8      | commandNumber       | u32  |
// | 12     | replyTo             | u32  |
// | 16     | expectsConfirmation | u8   |
//
// fromClientId and toClientId are routing words: they travel in the message
// record, not in the bytes.
class CommandHeader : public Convinience::Serializable {
public:
    static constexpr u32 kSize = 17;

    CommandHeader() = default;
    CommandHeader(u32 clientId, u32 commandId, u32 replyTo = 0, bool expectsConfirmation = true)
        : clientId(clientId), commandId(commandId), replyTo(replyTo), expectsConfirmation(expectsConfirmation) {}
    explicit CommandHeader(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return kSize; }

    u32 clientId = 0;
    u32 commandId = 0;
    u32 commandNumber = 0;
    u32 replyTo = 0;
    bool expectsConfirmation = true;
    u32 fromClientId = 0;
    u32 toClientId = 0;
};

// A command built from received bytes. The concrete command parses its data
// (the bytes after the header) in its constructor.
class IncomingCommand : public Convinience::Command {
public:
    explicit IncomingCommand(const CommandHeader& header) : header(header) {}
    CommandHeader header;
};

}  // namespace Corvel
