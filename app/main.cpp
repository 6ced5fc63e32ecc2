#include "app/main_app.h"
#include "app/main_dialog.h"

int main(int argc, char** argv)
{
    CMainApp app(argc, argv);
    CMainDialog dialog;
    dialog.show();
    return app.exec();
}
