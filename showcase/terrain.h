// The height-field terrain with its height grids. Empty until it is built.
#pragma once

class CTerrain {};
