// The two components the program's windows use: the file source and the file target.
#include "dragdrop/DragDropFile.h"

namespace dragdrop {

TDropFileSource::TDropFileSource()
    : fileFormat_(OwnedDataFormats().Make<TFileDataFormat>(this)),
      fileMapFormat_(OwnedDataFormats().Make<TFileMapDataFormat>(this)) {}

TDropFileTarget::TDropFileTarget()
    : fileFormat_(OwnedDataFormats().Make<TFileDataFormat>(this)),
      fileMapFormat_(OwnedDataFormats().Make<TFileMapDataFormat>(this)) {
    SetOptimizedMove(true);
}

DWORD TDropFileTarget::GetPreferredDropEffect() {
    const DWORD preferred = TCustomDropMultiTarget::GetPreferredDropEffect();
    return preferred != DROPEFFECT_NONE ? preferred : DROPEFFECT_COPY;
}

} // namespace dragdrop
