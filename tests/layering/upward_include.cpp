// Must not build: the platform layer reaching up to a screen. The layering test builds
// this against the platform library alone and expects the include to be refused.
#include "app/intro0.h"

int main()
{
    return 0;
}
