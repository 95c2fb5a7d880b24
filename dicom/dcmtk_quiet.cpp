#include "dicom/dcmtk_quiet.h"

#include <dcmtk/config/osconfig.h>
#include <dcmtk/oflog/oflog.h>

void vQuietDcmtkLog() {
    static const bool booDone = [] {
        OFLog::configure(OFLogger::OFF_LOG_LEVEL);
        return true;
    }();
    (void)booDone;
}
