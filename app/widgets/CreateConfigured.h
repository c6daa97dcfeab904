#pragma once

// The engine's create pattern for a node whose configuration is set before
// its init runs: construct, configure, init, autorelease; null (and the
// object deleted) when init fails.
template <class T, class Configure>
T* createConfigured(Configure&& configure) {
    T* node = new T();
    configure(*node);
    if (node->init()) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}
