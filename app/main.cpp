#include "app/window/Application.h"
#include "ui/BuildUserInterface.h"

int main(int argc, char** argv) {
  return zorel::window::RunZorelControl(
      argc, argv,
      [](igraphics::IGraphics& graphics,
         zorel::ZorelControl& editor) -> std::unique_ptr<zorel::IControlSurface> {
        return zorel::BuildUserInterface(graphics, editor);
      });
}
