#include "app/window/Application.h"

int main(int argc, char** argv) {
  return zorel::window::RunZorelControl(argc, argv, {});
}
