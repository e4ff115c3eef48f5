#include "addin/imaging/ImageFilters.h"

#include <math.h>

namespace {

const double kPi = 3.14159265358979323846;

double Box(double x)
{
    return x >= -0.5 && x < 0.5 ? 1.0 : 0.0;
}

double Triangle(double x)
{
    double a = fabs(x);
    return a < 1.0 ? 1.0 - a : 0.0;
}

double Hermite(double x)
{
    double a = fabs(x);
    return a < 1.0 ? (2.0 * a - 3.0) * a * a + 1.0 : 0.0;
}

double Hanning(double x)
{
    return 0.5 + 0.5 * cos(kPi * x);
}

double Hamming(double x)
{
    return 0.54 + 0.46 * cos(kPi * x);
}

double Blackman(double x)
{
    return 0.42 + 0.5 * cos(kPi * x) + 0.08 * cos(2.0 * kPi * x);
}

double Gaussian(double x)
{
    return exp(-2.0 * x * x) * sqrt(2.0 / kPi);
}

double Quadratic(double x)
{
    double a = fabs(x);
    if (a < 0.5)
        return 0.75 - a * a;
    if (a < 1.5)
        return 0.5 * (a - 1.5) * (a - 1.5);
    return 0.0;
}

double Cubic(double x)
{
    double a = fabs(x);
    if (a < 1.0)
        return 0.5 * a * a * a - a * a + 2.0 / 3.0;
    if (a < 2.0)
        return (2.0 - a) * (2.0 - a) * (2.0 - a) / 6.0;
    return 0.0;
}

double Catrom(double x)
{
    double a = fabs(x);
    if (a < 1.0)
        return 0.5 * (3.0 * a * a * a - 5.0 * a * a + 2.0);
    if (a < 2.0)
        return 0.5 * (-a * a * a + 5.0 * a * a - 8.0 * a + 4.0);
    return 0.0;
}

double Mitchell(double x)
{
    double a = fabs(x);
    if (a < 1.0)
        return (7.0 / 6.0) * a * a * a - 2.0 * a * a + 8.0 / 9.0;
    if (a < 2.0)
        return -(7.0 / 18.0) * a * a * a + 2.0 * a * a - (10.0 / 3.0) * a + 16.0 / 9.0;
    return 0.0;
}

double Lanczos(double x)
{
    if (x == 0.0)
        return 1.0;
    double a = fabs(x);
    if (a >= 3.0)
        return 0.0;
    return 3.0 * sin(kPi * a) * sin(kPi * a / 3.0) / (kPi * a * kPi * a);
}

double Bessel(double x)
{
    if (x == 0.0)
        return kPi / 4.0;
    return BesselJ1(kPi * x) / (2.0 * x);
}

double Sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    return sin(kPi * x) / (kPi * x);
}

// Horner evaluation of coefficients given highest power first.
double Polynomial(const double* c, int n, double x)
{
    double v = c[0];
    for (int i = 1; i < n; ++i)
        v = v * x + c[i];
    return v;
}

const ImageFilter kFilters[kImageFilterCount] = {
    {Box, 0.0f, L"Unknown"},       {Box, 0.0f, L"Fast"},           {Box, 0.0f, L"Point"},
    {Box, 0.5f, L"Box"},           {Triangle, 1.0f, L"Triangle"},  {Hermite, 1.0f, L"Hermite"},
    {Hanning, 1.0f, L"Hanning"},   {Hamming, 1.0f, L"Hamming"},    {Blackman, 1.0f, L"Blackman"},
    {Gaussian, 1.25f, L"Gaussian"}, {Quadratic, 1.5f, L"Quadratic"}, {Cubic, 2.0f, L"Cubic"},
    {Catrom, 2.0f, L"Catrom"},     {Mitchell, 2.0f, L"Mitchell"},  {Lanczos, 3.0f, L"Lanczos"},
    {Bessel, 3.2383f, L"Bessel"},  {Sinc, 4.0f, L"Sinc"},
};

}  // namespace

const ImageFilter& GetImageFilter(int number)
{
    if (number < 0 || number >= kImageFilterCount)
        number = FilterBox;
    return kFilters[number];
}

double BesselJ1(double t)
{
    static const double p[9] = {2701.1227108923235,   -4695753.530642996,    3413234182.3017006,
                                -1322983480332.1265,  290879526383477.56,    -35888175699101060.0,
                                2.3164335806340024e18, -6.672106568924916e19, 5.811993540016061e20};
    static const double q[9] = {1.0,
                                1606.9315734814877,
                                1501793.5949985855,
                                1013863514.358674,
                                524371026216.76495,
                                208166122130760.75,
                                60920613989175220.0,
                                1.185770712190321e19,
                                1.1623987080032122e21};
    static const double p1n[6] = {1.2571716929145342, 211.15291828539623, 4985.4832060594335,
                                  31353.963110915956, 62758.84524716128,  35224.66491336798};
    static const double p1d[6] = {1.0, 203.07751891347593, 4930.396490181089,
                                  31240.406381904104, 62694.34695935605, 35224.66491336798};
    static const double q1n[6] = {0.03532840052740124, 4.568171629551227,  83.18989576738508,
                                  425.98730116544425,  721.0391804904475, 351.17519143035526};
    static const double q1d[6] = {1.0, 103.81875854621337, 1811.1867005523513,
                                  9152.231701516992, 15414.177339265098, 7491.737417180912};
    if (t == 0.0)
        return 0.0;
    double a = fabs(t);
    if (a < 8.0)
        return t * Polynomial(p, 9, t * t) / Polynomial(q, 9, t * t);
    // The asymptotic series runs in even powers of 1/t: the rational functions
    // take u squared (their constant and second-order terms give 1 + 15/128t^2
    // and 3/8t as the series does).
    double u = 8.0 / a;
    double p1 = Polynomial(p1n, 6, u * u) / Polynomial(p1d, 6, u * u);
    double q1 = Polynomial(q1n, 6, u * u) / Polynomial(q1d, 6, u * u);
    double value = sqrt(2.0 / (kPi * a)) * (1.0 / sqrt(2.0)) *
                   (p1 * (sin(a) - cos(a)) + u * q1 * (sin(a) + cos(a)));
    return t < 0 ? -value : value;
}
