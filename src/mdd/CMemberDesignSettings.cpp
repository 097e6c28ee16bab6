#include "mdd/CMemberDesignSettings.h"

namespace MDD_OBJECTS {

CMemberDesignSettings::CMemberDesignSettings()
    : m_length(0.0),
      m_purlinType(0),
      m_ltbByDefault(0),
      m_spare(0),
      m_autoCreate(0),
      m_autoCreateAsk(0),
      m_excludeExisting(0),
      m_memberName("m"),
      m_loadName("lc"),
      m_groupName("Group") {}

CMemberDesignSettings::CMemberDesignSettings(const CMemberDesignSettings& other) = default;

CMemberDesignSettings& CMemberDesignSettings::operator=(const CMemberDesignSettings& other) = default;

CMemberDesignSettings::~CMemberDesignSettings() = default;

}  // namespace MDD_OBJECTS
