#include "programcontext.h"

#include "menukeys.h"

#include "errortexts.h"
#include "platform/dialogs.h"

TProgramContext::TProgramContext(TPlatform platform) : TPlatform(std::move(platform)) {
    dialogs.setErrorTexts([this](const Exception& error) { return ErrorText(error, strings); });
    InstallMenuKeys();
}

TProgramContext::~TProgramContext() {
    dialogs.setErrorTexts(nullptr);
}
