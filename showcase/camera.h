// The first-person camera. Empty until it is built.
#pragma once

class CCamera {};
