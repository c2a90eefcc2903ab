// One square of the motion-blur scene. Empty until it is built.
#pragma once

class CBlurQuad {};
