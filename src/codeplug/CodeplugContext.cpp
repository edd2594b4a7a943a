#include "codeplug/CodeplugContext.h"

CodeplugContext& CodeplugContext::Get() {
    static CodeplugContext context;
    return context;
}
