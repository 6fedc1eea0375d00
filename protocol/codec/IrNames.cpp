#include "protocol/codec/IrNames.h"

#include <cstdio>

#include "protocol/codec/Names.h"

namespace zorel {

namespace {

constexpr size_t kIRNameReportNameOffset = 7;

} // namespace

std::optional<IRNamePage> ParseIRNamePage(std::span<const uint8_t> message) {
  const auto block = ViewBlock(message);
  if (!block || block->command != kCmdIRNamePage || block->byte6 != kSysExSubId)
    return std::nullopt;
  IRNamePage page;
  page.page = block->byte7;
  for (size_t i = 0; i < kIRNamesPerPage; ++i) {
    const auto field =
        std::span<const uint8_t, kNameLength>(block->data.data() + i * kNameLength, kNameLength);
    page.names[i] = ReadNameField(field);
    page.blank[i] = IsBlankName(field);
  }
  return page;
}

std::string IRNameRowText(const IRNamePage& page, int i) {
  const auto index = static_cast<size_t>(i);
  if (page.blank[index]) {
    char text[32];
    std::snprintf(text, sizeof text, "Empty Slot %d", IRNamePosition(page.page, i) + 1);
    return text;
  }
  return TrimName(page.names[index]);
}

std::optional<std::string> ParseIRNameReport(std::span<const uint8_t> message) {
  if (message.size() != kIRNameReportLength || !HasPedalHeader(message, kSysExTargetEditor) ||
      message[kOffsetCommand] != kCmdIRNameReport || message[kOffsetSubId] != kSysExSubId)
    return std::nullopt;
  return ReadNameField(message.subspan<kIRNameReportNameOffset, kNameLength>());
}

BlockMessage BuildIRNamePage(int page, std::span<const std::string_view, kIRNamesPerPage> names) {
  BlockData data{};
  for (size_t i = 0; i < kIRNamesPerPage; ++i)
    WriteNameField(std::span<uint8_t, kNameLength>(data.data() + i * kNameLength, kNameLength),
                   names[i]);
  return BuildBlockMessage(kCmdIRNamePage, kSysExSubId, Encode7(page), data);
}

std::array<uint8_t, kIRNameReportLength> BuildIRNameReport(std::string_view name) {
  std::array<uint8_t, kIRNameReportLength> message{};
  WriteFrameHeader(message, kSysExTargetEditor, kCmdIRNameReport);
  message[kOffsetSubId] = kSysExSubId;
  WriteNameField(
      std::span<uint8_t, kNameLength>(message.data() + kIRNameReportNameOffset, kNameLength), name);
  // Offsets 39 and 40 carry nothing.
  message.back() = kSysExEnd;
  return message;
}

} // namespace zorel
