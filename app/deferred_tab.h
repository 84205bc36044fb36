// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tab whose contents are built at their first need rather than with the window: the first
// view paints sooner and an idle window holds only what the person has opened. Its controls
// are reached through TabControl, which builds the tab first, so every caller finds them.
#include <QWidget>
#include <functional>
#include <utility>

class DeferredTab {
public:
    explicit DeferredTab(std::function<void()> build) : build_(std::move(build)) {}
    DeferredTab(const DeferredTab&) = delete;
    DeferredTab& operator=(const DeferredTab&) = delete;

    // The page the contents go on, made with the window so that its caption is in the tab bar.
    void Place(QWidget* page) { page_ = page; }
    QWidget* Page() const { return page_; }
    bool Built() const { return built_; }

    void Build() {
        if (built_)
            return;
        built_ = true; // the contents reach their own controls as they are made
        build_();
        // Controls made on a page already on screen stay hidden until shown themselves.
        if (page_ && page_->isVisible()) {
            for (QWidget* child : page_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (!child->testAttribute(Qt::WA_WState_ExplicitShowHide))
                    child->show();
        }
    }

private:
    std::function<void()> build_;
    QWidget* page_ = nullptr;
    bool built_ = false;
};

// A control of a deferred tab: reaching it builds the tab.
template <typename T> class TabControl {
public:
    explicit TabControl(DeferredTab& tab) : tab_(&tab) {}
    TabControl& operator=(T* control) {
        control_ = control;
        return *this;
    }

    T* get() const {
        tab_->Build();
        return control_;
    }
    T* operator->() const { return get(); }
    operator T*() const { return get(); }
    // The control when its tab is built, else nothing; never builds.
    T* IfBuilt() const { return tab_->Built() ? control_ : nullptr; }

private:
    DeferredTab* tab_;
    T* control_ = nullptr;
};
