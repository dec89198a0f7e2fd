#include "Update.h"

#include "Main.h"

int Update(Platform& platform) {
    platform.SetApplicationTitle("ザルミナアップデート");
    TForm1 Form1(platform);
    platform.RunEventLoop();
    return 0;
}
