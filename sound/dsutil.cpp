#include "dsutil.h"

CSoundSystem::CSoundSystem() {}

CSoundSystem::~CSoundSystem() {}

CSoundSample::CSoundSample() {}

CSoundSample::~CSoundSample() {}
