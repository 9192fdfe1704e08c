// Terrestrial Time minus UTC over the data span, 1960 … 2059.
#pragma once

namespace vk {

// ΔT = TT − UT1 of the polynomials of Espenak and Meeus (Five Millennium Canon
// of Solar Eclipses, NASA/TP-2006-214141, section 2.6, and
// eclipse.gsfc.nasa.gov/SEhelp/deltatpoly2004.html) for 1941 … 1986, seconds;
// `year` is a decimal year (2000.0 = 2000-01-01 00:00). The polynomials fit the
// measured values of those years within 0.1 s. Outside 1941 … 1986 the
// nearest polynomial is extended. Never fails.
double DeltaTModelSeconds(double year);

// TT − UTC at the instant jd (Julian day, UTC), seconds. From 1972-01-01 on:
// TAI − UTC of ERFA's leap-second table plus 32.184 s, the last value held
// after the table's last leap second (37 s since 2017, so 69.184 s). Before:
// DeltaTModelSeconds, UT1 being taken as UTC (UT1 − UTC stays within ±0.9 s
// from 1972 on; before, the model's ΔT stands for UTC's offset). Never fails.
double TtMinusUtcSeconds(double jd);

}  // namespace vk
