#include <gtest/gtest.h>

#include <windows.h>
#include <oleauto.h>

#include <stdexcept>

#include "base/MKDispatchObject.h"

namespace {

// {11223344-5566-7788-99AA-BBCCDDEEFF00} as four words in memory order.
const IID kOwnIid = {0x11223344, 0x5566, 0x7788, {0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF, 0x00}};

class Adder : public MKDispatchObject {
public:
    explicit Adder(bool* destroyed) : MKDispatchObject(0x11223344, 0x77885566, 0xCCBBAA99, 0x00FFEEDD), destroyed_(destroyed) {}
    int calls = 0;

protected:
    ~Adder() override { *destroyed_ = true; }
    HRESULT HandleInvoke(DISPID id, DISPPARAMS* params, VARIANT* result) override
    {
        ++calls;
        switch (id) {
        case 1: {
            if (params->cArgs != 2)
                return DISP_E_BADPARAMCOUNT;
            if (result) {
                VariantClear(result);
                V_VT(result) = VT_I4;
                V_I4(result) = V_I4(&params->rgvarg[0]) + V_I4(&params->rgvarg[1]);
            }
            return S_OK;
        }
        case 2:
            throw std::runtime_error("handler failed");
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    bool* destroyed_;
};

TEST(DispatchObject, AnswersItsThreeInterfacesAndCounts)
{
    bool destroyed = false;
    auto* object = new Adder(&destroyed);
    EXPECT_EQ(object->AddRef(), 1u);
    EXPECT_TRUE(IsEqualIID(object->InterfaceId(), kOwnIid));

    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &kOwnIid}) {
        void* out = nullptr;
        EXPECT_EQ(object->QueryInterface(*iid, &out), S_OK);
        EXPECT_EQ(out, static_cast<IDispatch*>(object));
        EXPECT_EQ(object->Release(), 1u);
    }
    void* out = &out;
    EXPECT_EQ(object->QueryInterface(IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IDispatch, nullptr), E_POINTER);

    EXPECT_FALSE(destroyed);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

TEST(DispatchObject, OffersNoTypeInformationOrNames)
{
    bool destroyed = false;
    auto* object = new Adder(&destroyed);
    object->AddRef();
    UINT count = 0;
    EXPECT_EQ(object->GetTypeInfoCount(&count), E_NOTIMPL);
    ITypeInfo* info = nullptr;
    EXPECT_EQ(object->GetTypeInfo(0, 0, &info), E_NOTIMPL);
    LPOLESTR name = const_cast<LPOLESTR>(L"Add");
    DISPID id = 0;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), E_NOTIMPL);
    object->Release();
}

TEST(DispatchObject, InvokeReachesTheHandlerWhateverTheFlags)
{
    bool destroyed = false;
    auto* object = new Adder(&destroyed);
    object->AddRef();
    VARIANT args[2];
    V_VT(&args[0]) = VT_I4;
    V_I4(&args[0]) = 40;
    V_VT(&args[1]) = VT_I4;
    V_I4(&args[1]) = 2;
    DISPPARAMS params = {args, nullptr, 2, 0};
    for (WORD flags : {WORD(DISPATCH_METHOD), WORD(DISPATCH_PROPERTYGET)}) {
        VARIANT result;
        VariantInit(&result);
        EXPECT_EQ(object->Invoke(1, IID_NULL, 0, flags, &params, &result, nullptr, nullptr), S_OK);
        EXPECT_EQ(V_VT(&result), VT_I4);
        EXPECT_EQ(V_I4(&result), 42);
    }
    EXPECT_EQ(object->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_EQ(object->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(object->Invoke(9, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(object->Invoke(2, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), E_UNEXPECTED);
    EXPECT_EQ(object->calls, 6);
    object->Release();
}

DWORD WINAPI Churn(void* parameter)
{
    auto* object = static_cast<IDispatch*>(parameter);
    for (int i = 0; i < 20000; ++i) {
        object->AddRef();
        object->Release();
    }
    return 0;
}

TEST(DispatchObject, CountsSafelyAcrossThreads)
{
    bool destroyed = false;
    auto* object = new Adder(&destroyed);
    object->AddRef();
    HANDLE threads[4];
    for (HANDLE& thread : threads)
        thread = CreateThread(nullptr, 0, Churn, static_cast<IDispatch*>(object), 0, nullptr);
    WaitForMultipleObjects(4, threads, TRUE, INFINITE);
    for (HANDLE thread : threads)
        CloseHandle(thread);
    EXPECT_FALSE(destroyed);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(destroyed);
}

}  // namespace
