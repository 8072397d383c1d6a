// MainForm: creation. Its operations live beside the subsystems they belong to.
#include "shell/MainForm.h"

namespace kadeno {

MainForm::MainForm(WindowServices& w, AudioDevice& a) : window(w), audio(a) {}

}  // namespace kadeno
