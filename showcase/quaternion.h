// The camera's quaternion. Empty until it is built.
#pragma once

class CQuaternion {};
