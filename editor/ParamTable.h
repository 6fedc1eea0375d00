#pragma once

#include <functional>

#include "plugin/IParam.h"

namespace zorel {

// Hands out the parameter with the given index; the table does not care who
// owns the list.
using ParamAccessor = std::function<iplug::IParam&(int index)>;

// Defines all 151 parameters exactly once; rows that are never defined
// (74..77, 83..85) keep the fresh state of a parameter.
void DefineAllParameters(const ParamAccessor& param);

// A preset payload carries each sound parameter as its integer value in the
// parameter's own range; stored through the normalized form so that an
// out-of-range byte is clamped by the parameter.
double PayloadByteToNormalized(const iplug::IParam& param, int byte);
int ParamToPayloadByte(const iplug::IParam& param);

} // namespace zorel
