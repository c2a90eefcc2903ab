// A mesh loaded from an X file and drawn in a parent's frame. Empty until it is built.
#pragma once

class CMeshObject {};
