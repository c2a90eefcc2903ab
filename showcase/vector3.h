// The camera's 3-float vector. Empty until it is built.
#pragma once

class CVector3 {};
