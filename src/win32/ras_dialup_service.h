// The dial-up service port on Windows: rasapi32's ANSI entry points under
// the record-size probing and layouts of RasRecordService.
#pragma once

#include "dial/ras_raw_functions.h"
#include "dial/ras_record_service.h"

namespace corvane {

// The byte-level table over rasapi32 (and RegisterWindowMessageA and the
// system message table), for this build's pointer size.
RasRawFunctions Rasapi32Functions();

class RasDialUpService : public RasRecordService {
 public:
  RasDialUpService() : RasRecordService(Rasapi32Functions()) {}
};

}  // namespace corvane
