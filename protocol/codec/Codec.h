#pragma once

// Everything of the pedal's message set in one include. Each header below has
// one purpose; include the single ones where only that is needed.
//
//   Frame.h            frame bytes, command bytes, block messages and views
//   Encoding.h         7/14/21-bit values, BlockChecksum, TransferChecksum
//   Packing.h          7-bit packing, the streaming unpacker
//   Names.h            32-character name fields, 7-bit safe
//   PresetPayload.h    the 256-byte preset payload
//   SettingsBlocks.h   settings blocks of types 0, 1, 2, 3, 15
//   IrNames.h          IR name page and IR name report
//   IrTransfer.h       IR upload / dump chunking and reassembly
//   FirmwareTransfer.h firmware chunking, and the loader's reassembly
//   Restore.h          restoring a bulk file's stored messages
//   Classify.h         what a message is, in either direction
//   EditorMessages.h   builders of every editor message
//   PedalMessages.h    builders of the pedal's other replies

#include "protocol/codec/Classify.h"
#include "protocol/codec/EditorMessages.h"
#include "protocol/codec/Encoding.h"
#include "protocol/codec/FirmwareTransfer.h"
#include "protocol/codec/Frame.h"
#include "protocol/codec/IrNames.h"
#include "protocol/codec/IrTransfer.h"
#include "protocol/codec/Names.h"
#include "protocol/codec/Packing.h"
#include "protocol/codec/ParamIds.h"
#include "protocol/codec/PedalMessages.h"
#include "protocol/codec/PresetPayload.h"
#include "protocol/codec/Restore.h"
#include "protocol/codec/SettingsBlocks.h"
