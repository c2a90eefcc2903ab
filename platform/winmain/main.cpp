// The runtime's start-up for a windowed program: main() hands over to WinMain.
#include "windows.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);

int main() {
    char commandLine[] = "";
    return WinMain(nullptr, nullptr, commandLine, 10);
}
