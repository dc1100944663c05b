#include "programcontext.h"

#include "errortexts.h"
#include "platform/dialogs.h"

TProgramContext::TProgramContext(TPlatform platform) : TPlatform(std::move(platform)) {
    dialogs.setErrorTexts([this](const Exception& error) { return ErrorText(error, strings); });
}

TProgramContext::~TProgramContext() {
    dialogs.setErrorTexts(nullptr);
}
