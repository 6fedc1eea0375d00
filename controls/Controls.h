#pragma once

// Everything the control surface is built from, in one include.

#include "controls/BitmapControls.h"
#include "controls/ButtonControls.h"
#include "controls/ControlTypes.h"
#include "controls/IControl.h"
#include "controls/IGraphics.h"
#include "controls/IPopupMenu.h"
#include "controls/IVectorBase.h"
#include "controls/KnobControls.h"
#include "controls/ModalServices.h"
#include "controls/NumberBoxControl.h"
#include "controls/PanelControls.h"
#include "controls/ParamValues.h"
#include "controls/SelectControl.h"
#include "controls/SliderControls.h"
#include "controls/SpecialControls.h"
#include "controls/TextControls.h"
#include "controls/VectorStyle.h"
