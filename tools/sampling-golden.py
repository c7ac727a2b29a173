#!/usr/bin/env python3
"""Independent re-derivation of the first draws of every sampler.

Each algorithm is written again here from its description, in 64-bit-mantissa
arithmetic (mpmath, prec=64, the width of long double), and the first draws
from a fixed seed are printed as C++ table rows for tests/distributions/SamplingTest.cpp.
Run: python3 tools/sampling-golden.py (needs python3-mpmath)
"""
import mpmath as mp

mp.mp.prec = 64
F = mp.mpf


class Source:
    def __init__(self, seed):
        self.seed = seed

    def u(self):
        self.seed = (self.seed * 134775813 + 1) % 2**32
        return F(self.seed) * F(2) ** -32


def rand_g(src, mean, dev):
    while True:
        u1 = 2 * src.u() - 1
        u2 = 2 * src.u() - 1
        s = u1 * u1 + u2 * u2
        if 0 < s < 1:
            return u1 * mp.sqrt(-2 * mp.log(s) / s) * dev + mean


def to_double(x):
    return F(float(x))


def rectangular(src, mean, half):
    return to_double(half * src.u() * 2 + mean - half)


def triangular(src, mn, mx, mode):
    u = src.u()
    f = (mode - mn) / (mx - mn)
    if f >= u:
        return to_double(mn + mp.sqrt((mx - mn) * u * (mode - mn)))
    return to_double(mx - mp.sqrt((1 - u) * (mx - mn) * (mx - mode)))


def exponential(src):
    while True:
        u = src.u()
        if u > 0:
            return -mp.log(u)


def gamma_large(src, k):
    d = k - F(1) / 3
    c = 1 / mp.sqrt(9 * d)
    while True:
        while True:
            x = rand_g(src, 0, 1)
            b = 1 + c * x
            v = b * b * b
            if v > 0:
                break
        u = src.u()
        if u < 1 - F('0.0331') * x**4:
            return d * v
        if mp.log(u) < x * x / 2 + d * (1 - v + mp.log(v)):
            return d * v


def gamma_small(src, a):
    t = 1 - a
    p = t / (t + a * mp.exp(-t))
    q = p * (F('1.5e-45') / t) ** a
    while True:
        u = src.u()
        if u > p:
            y = t - mp.log((1 - u) / (1 - p))
            x = t * mp.log(y / t)
        else:
            if u <= q:
                return F(0)
            y = t * (u / p) ** (1 / a)
            x = y
        v = src.u()
        if x < 1 - v or v <= 0:
            return y
        if v * (x + 1) >= 1:
            continue
        if x < -mp.log(v):
            return y


def gamma(src, k):
    if k < 1:
        return gamma_small(src, k)
    if k == 1:
        return exponential(src)
    return gamma_large(src, k)


def beta(src, al, be):
    A, B = max(al, be), min(al, be)
    mirrored = al < be
    s = A + B
    r = A / B
    if B > 1:
        q = mp.sqrt((2 * A * B - s) / (s - 2))
        c = F(1)
    else:
        q = B
        c = 1 / (1 + (A / (F('1.7e308') * B)) ** B)
    g = A + q
    while True:
        u1 = src.u()
        u2 = src.u()
        z = u1 * u1 * u2
        if u1 == 0 or z <= 0:
            continue
        if u1 < c:
            v = mp.log(u1 / (1 - u1)) / q
            w = r * mp.exp(v)
            T = s * mp.log((1 + r) / (1 + w)) + g * v - F('1.3862943611198906')
            X = w / (1 + w)
            if T >= z - 1:
                pass
            elif z - z * T > 1:
                continue
            elif T >= mp.log(z):
                pass
            else:
                continue
        else:
            if 4 * z > (1 + 1 / r) ** s:
                continue
            X = F(1)
        return 1 - X if mirrored else X


def student_std(src, nu):
    N = F(nu)
    e = -(N + 1) / 4
    c = 4 / (1 + 1 / N) ** e
    d = 16 / c
    s = mp.sqrt(2 * N / (N - 1)) * ((N + 1) / (N - 1)) ** e if nu > 1 else F(1)
    while True:
        u = src.u()
        while u <= 0:
            u = src.u()
        v = src.u()
        X = (2 * v - 1) * s / u
        X2 = X * X
        if X2 <= 5 - c * u:
            return X
        if nu >= 3 and d < (X2 + 3) * u:
            continue
        if u > (1 + X2 / N) ** e:
            continue
        return X


NODES = [F('0.2386191860831970'), F('0.6612093864662650'), F('0.9324695142031520')]
WEIGHTS = [F('0.4679139345726910'), F('0.3607615730481390'), F('0.1713244923791700')]


def vm_mass(lo, hi, kappa):
    m = (hi + lo) / 2
    h = (hi - lo) / 2
    total = F(0)
    for x, w in zip(NODES, WEIGHTS):
        total += w * (mp.exp(kappa * mp.cos(m + x * h)) + mp.exp(kappa * mp.cos(m - x * h)))
    return total * h


def von_mises(src, kappa):
    n = int(mp.floor(2 * kappa + 1))
    if kappa > F('0.5'):
        th = [F(0)] + [mp.acos(1 - F(j) / kappa) for j in range(1, n)] + [mp.pi]
        P = [vm_mass(th[j - 1], th[j], kappa) for j in range(1, n + 1)]
        tot = F(0)
        for x in P:
            tot += x
        P = [x / tot for x in P]
    else:
        th = [F(0), mp.pi]
        P = [F(1)]
    rem = src.u()
    j = len(P)
    for i, x in enumerate(P, start=1):
        rem -= x
        if rem < 0:
            j = i
            break
    W = -rem / P[j - 1]
    while True:
        theta = th[j - 1] + W * (th[j] - th[j - 1])
        G = kappa * (1 - mp.cos(theta)) - (j - 1)
        T = G
        m = 1
        while True:
            V = src.u()
            if V <= T:
                m += 1
                T = V
            else:
                break
        if m % 2 == 0:
            W = src.u()
            continue
        return -theta if (V - T) / (1 - T) - F('0.5') < 0 else theta


def cauchy(src):
    while True:
        X = (src.u() - F('0.5')) * 2
        Y = (src.u() - F('0.5')) * 2
        if abs(Y) > 0 and X * X + Y * Y < 1:
            return X / Y


def poisson(src, mu):
    mu = F(mu)
    if mu <= 10:
        p0 = mp.exp(-mu)
        Fk = [p0]
        pk = p0
        for k in range(1, 36):
            pk = pk * mu / k
            Fk.append(Fk[-1] + pk)
        while True:
            U = src.u()
            if U <= p0:
                return 0
            for k in range(1, 36):
                if U <= Fk[k]:
                    return k
    s = mp.sqrt(mu)
    d = 6 * mu * mu
    L = int(mu - F('1.1484'))
    om = F('0.3989423') / s
    b1 = F('0.04166667') / mu
    b2 = F('0.3') * b1 * b1
    c3 = F('0.1428571') * b1 * b2
    c2 = b2 - 15 * c3
    c1 = b1 - 6 * b2 + 45 * c3
    c0 = 1 - b1 + 3 * b2 - 15 * c3
    c = F('0.1069') / mu
    a = [F(x) for x in ('-0.5', '0.3333333', '-0.2500068', '0.2000118', '-0.1661269',
                        '0.1421878', '-0.1384794', '0.1250060')]
    fact = [1, 1, 2, 6, 24, 120, 720, 5040, 40320, 362880]

    def terms(K, fk, dif):
        if K < 10:
            px = -mu
            py = mu**K / fact[K]
        else:
            de = F('0.08333333') / fk
            de = de - F('4.8') * de**3
            v = dif / fk
            if abs(v) <= F('0.25'):
                poly = a[7]
                for i in range(6, -1, -1):
                    poly = poly * v + a[i]
                px = fk * v * v * poly - de
            else:
                px = fk * mp.log(1 + v) - dif - de
            py = F('0.3989423') / mp.sqrt(fk)
        x = (F('0.5') - dif) / s
        xx = x * x
        return px, py, -F('0.5') * xx, om * (((c3 * xx + c2) * xx + c1) * xx + c0)

    g = mu + s * rand_g(src, 0, 1)
    if g >= 0:
        K = int(g)
        if K >= L:
            return K
        fk = F(K)
        dif = mu - fk
        U = src.u()
        if d * U >= dif**3:
            return K
        px, py, fx, fy = terms(K, fk, dif)
        if fy - U * fy <= py * mp.exp(px - fx):
            return K
    while True:
        E = exponential(src)
        U = 2 * src.u() - 1
        T = F('1.8') + E if U >= 0 else F('1.8') - E
        if T <= F('-0.6744'):
            continue
        K = int(mu + s * T)
        fk = F(K)
        dif = mu - fk
        px, py, fx, fy = terms(K, fk, dif)
        if c * abs(U) > py * mp.exp(px + E) - fy * mp.exp(fx + E):
            continue
        return K


def binomial(src, n, p0):
    p0 = F(p0)
    p = min(p0, 1 - p0)
    q = 1 - p
    xnp = n * p
    if xnp <= 30:
        qn = q**n
        r = p / q
        g = r * (n + 1)
        while True:
            ix = 0
            f = qn
            U = src.u()
            ok = True
            while U >= f:
                if ix > 110:
                    ok = False
                    break
                U -= f
                ix += 1
                f *= g / ix - r
            if ok:
                break
    else:
        ffm = xnp + p
        m = int(ffm)
        fm = F(m)
        xnpq = xnp * q
        p1 = F(int(F('2.195') * mp.sqrt(xnpq) - F('4.6') * q)) + F('0.5')
        xm = fm + F('0.5')
        xl = xm - p1
        xr = xm + p1
        c = F('0.134') + F('20.5') / (F('15.3') + fm)
        al = (ffm - xl) / (ffm - xl * p)
        xll = al * (1 + F('0.5') * al)
        al = (xr - ffm) / (xr * q)
        xlr = al * (1 + F('0.5') * al)
        p2 = p1 * (1 + 2 * c)
        p3 = p2 + c / xll
        p4 = p3 + c / xlr

        def S(y):
            y2 = y * y
            return (13860 - (462 - (132 - (99 - 140 / y2) / y2) / y2) / y2) / y / 166320

        while True:
            u = src.u() * p4
            v = src.u()
            if u <= p1:
                ix = int(xm - p1 * v + u)
                break
            if u <= p2:
                x = xl + (u - p1) / c
                v = v * c + 1 - abs(xm - x) / p1
                if v > 1 or v <= 0:
                    continue
                ix = int(x)
            elif u <= p3:
                ix = int(xl + mp.log(v) / xll)
                if ix < 0:
                    continue
                v = v * (u - p2) * xll
            else:
                ix = int(xr - mp.log(v) / xlr)
                if ix > n:
                    continue
                v = v * (u - p3) * xlr
            k = abs(ix - m)
            if k <= 20 or k >= xnpq / 2 - 1:
                f = F(1)
                r = p / q
                g = (n + 1) * r
                for i in range(m + 1, ix + 1):
                    f *= g / i - r
                for i in range(ix + 1, m + 1):
                    f /= g / i - r
                if v <= f:
                    break
                continue
            amaxp = (k / xnpq) * ((k * (F(k) / 3 + F('0.625')) + F('0.1666666666666')) / xnpq + F('0.5'))
            ynorm = -F(k) * k / (2 * xnpq)
            alv = mp.log(v)
            if alv < ynorm - amaxp:
                break
            if alv > ynorm + amaxp:
                continue
            x1 = F(ix + 1)
            f1 = fm + 1
            z = n + 1 - fm
            w = F(n - ix + 1)
            bound = (xm * mp.log(f1 / x1) + (n - m + F('0.5')) * mp.log(z / w)
                     + (ix - m) * mp.log(w * p / (x1 * q)) + S(f1) + S(z) + S(x1) + S(w))
            if alv > bound:
                continue
            break
    return n - ix if p0 > F('0.5') else ix


def neg_binomial(src, n, p):
    p = F(p)
    q = 1 - p
    S = F(0)
    r = F(n)
    if p > F('0.7'):
        k = int(r)
        for _ in range(k):
            U = src.u()
            while not U > 0:
                U = src.u()
            S += mp.floor(mp.log(U) / mp.log(p))
        r -= k
    P = q**r
    c = r
    j = 0
    U = src.u()
    while U >= P:
        U -= P
        j += 1
        P = P * p * c / j
        c += 1
    return int(S + j + F('0.5'))


def lognormal(src, m, s):
    m, s = F(m), F(s)
    sig2 = mp.log(1 + (s / m) ** 2)
    return mp.exp(rand_g(src, mp.log(m) - sig2 / 2, mp.sqrt(sig2)))


SEED = 20261206
COUNT = 6
LONG = 2000


def row(name, fn):
    src = Source(SEED)
    vals = [fn(src) for _ in range(COUNT)]
    txt = ', '.join(mp.nstr(v, 20, min_fixed=-5, max_fixed=5) + 'L' if not isinstance(v, int)
                    else str(v) for v in vals)
    first_seed = src.seed
    src = Source(SEED)
    total = F(0)
    absolute = F(0)
    for _ in range(LONG):
        v = fn(src)
        total += v
        absolute += abs(v)
    print('    {"%s", {%s}, %d, %sL, %sL, %d},' % (name, txt, first_seed, mp.nstr(total, 20),
                                                mp.nstr(absolute, 20), src.seed))


print('// seed %d: first %d draws, the seed after them; sum and absolute sum of the first %d'
      ' draws, the seed after them' % (SEED, COUNT, LONG))
row('Normal(3, 2)', lambda s: rand_g(s, 3, 2))
row('Rectangular(5, 2)', lambda s: rectangular(s, F(5), F(2)))
row('Triangular(5, 2)', lambda s: triangular(s, F(3), F(7), F(5)))
row('Exponential', exponential)
row('Gamma(0.5)', lambda s: gamma(s, F('0.5')))
row('Gamma(2.5)', lambda s: gamma(s, F('2.5')))
row('Beta(5, 2)', lambda s: beta(s, F(5), F(2)))
row('Beta(2, 5)', lambda s: beta(s, F(2), F(5)))
row('Beta(3, 3)', lambda s: beta(s, F(3), F(3)))
row('Beta(0.5, 0.3)', lambda s: beta(s, F('0.5'), F('0.3')))
row('Student(1)', lambda s: student_std(s, 1) + 0)
row('Student(2)', lambda s: student_std(s, 2) + 0)
row('Student(4, 10)', lambda s: student_std(s, 4) + 10)
row('Experimental Student(3)', lambda s: student_std(s, 3) * F('0.5') + 2)
row('VonMises(0.3)', lambda s: von_mises(s, F('0.3')))
row('VonMises(9.99)', lambda s: von_mises(s, F('9.99')))
row('Cauchy', cauchy)
row('Weibull(1.5)', lambda s: exponential(s) ** (1 / F('1.5')))
row('ChiSquare(1)', lambda s: 2 * gamma(s, F('0.5')))
row('ChiSquare(2)', lambda s: 2 * gamma(s, F(1)))
row('ChiSquare(7)', lambda s: 2 * gamma(s, F('3.5')))
row('LogNormal(2, 0.5)', lambda s: lognormal(s, 2, '0.5'))
row('Poisson(3.5)', lambda s: poisson(s, '3.5'))
row('Poisson(10)', lambda s: poisson(s, 10))
row('Poisson(10.0001)', lambda s: poisson(s, '10.0001'))
row('Poisson(1000)', lambda s: poisson(s, 1000))
row('Binomial(10, 0.1)', lambda s: binomial(s, 10, '0.1'))
row('Binomial(10, 0.9)', lambda s: binomial(s, 10, '0.9'))
row('Binomial(60, 0.5)', lambda s: binomial(s, 60, '0.5'))
row('Binomial(200, 0.5)', lambda s: binomial(s, 200, '0.5'))
row('Binomial(1000, 0.8)', lambda s: binomial(s, 1000, '0.8'))
row('NegBinomial(3, 0.8)', lambda s: neg_binomial(s, 3, '0.8'))
row('NegBinomial(5, 0.3)', lambda s: neg_binomial(s, 5, '0.3'))
