#include "system.h"

int main() {
    System* system = Module<System>::Instance();
    system->Init();
    system->Log("foundation started");
    system->Kill();
    return 0;
}
