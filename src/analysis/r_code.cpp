#include "analysis/r_code.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace marvane {
namespace {

// The lines section: every line's slope, intercept and plotting points
// worked out from the weights.
constexpr const char* kLinesCode = R"R(
# ---- From here on the script only works the numbers out and prints them,
# ---- in the sections the plot window copies (tab-separated).
digits <- 15  # significant digits printed
cell <- function(x) if (is.na(x)) "" else sprintf(paste0("%.", digits, "g"), x)
out <- function(...) cat(paste(c(...), collapse = "\t"), "\n", sep = "")
section <- function(title, header) {
  cat("\n", title, "\n", sep = "")
  out(header)
}

cat("Simple-effect lines\n")
out("line", "slope", "intercept", "X1", "Y1", "X2", "Y2")
for (l in lines) {
  slope <- sum(l$slope * b)
  intercept <- sum(l$intercept * b)
  out(l$name, cell(slope), cell(intercept), cell(l$x1), cell(intercept + l$x1 * slope),
      cell(l$x2), cell(intercept + l$x2 * slope))
}
)R";

// The tests, the regions of significance and the crossings.
constexpr const char* kTestsCode = R"R(
crit <- qt(1 - (1 - level) / 2, df)  # qt(., Inf) is the normal quantile
stat_name <- if (is.finite(df)) "t" else "z"
df_cell <- if (is.finite(df)) cell(df) else ""
usable <- function(L) all(known[L != 0])
quad <- function(L, M = L) drop(L %*% V %*% M)

# A combination L of the weights: estimate, SE = sqrt(L'VL), statistic, p,
# lower, upper; NA where there is no number (no test when the SE is 0).
tested <- function(L) {
  if (!usable(L)) return(rep(NA, 6))
  est <- sum(L * b)
  v <- quad(L)
  if (v < 0) return(rep(NA, 6))
  if (v == 0) return(c(est, 0, NA, NA, NA, NA))
  se <- sqrt(v)
  stat <- est / se
  c(est, se, stat, 2 * pt(abs(stat), df, lower.tail = FALSE), est - crit * se, est + crit * se)
}

test_table <- function(title, first, rows, holm = FALSE) {
  res <- lapply(rows, function(r) tested(r$L))
  if (all(sapply(res, function(r) is.na(r[1])))) return(invisible(NULL))
  has_test <- sapply(res, function(r) !is.na(r[3]))
  p_holm <- rep(NA, length(res))
  if (holm && any(has_test)) p_holm[has_test] <- p.adjust(sapply(res[has_test], function(r) r[4]), "holm")
  section(title, c(first, "estimate", "SE", stat_name, "df", "p", if (holm) "p Holm", "lower", "upper"))
  for (i in seq_along(rows)) {
    r <- res[[i]]
    out(rows[[i]]$name, cell(r[1]), cell(r[2]), cell(r[3]), if (has_test[i]) df_cell else "", cell(r[4]),
        if (holm) cell(p_holm[i]), cell(r[5]), cell(r[6]))
  }
}

pairs <- list()
for (k in seq_along(lines)) for (l in seq_along(lines)) if (k < l) pairs[[length(pairs) + 1]] <- c(k, l)
pair_name <- function(p) paste(lines[[p[1]]]$name, "vs", lines[[p[2]]]$name)
differences <- function(part) lapply(pairs, function(p) {
  list(name = pair_name(p), L = lines[[p[1]]][[part]] - lines[[p[2]]][[part]])
})

test_table("Simple slopes", "line", lapply(lines, function(l) list(name = l$name, L = l$slope)))
test_table("Simple intercepts", "line", lapply(lines, function(l) list(name = l$name, L = l$intercept)))

# The predicted value of each line at X = mean_x - stdx and mean_x + stdx, and
# at mean_x itself when a mean of X was typed.
points <- list()
xs <- if (mean_x_typed) c(mean_x - stdx, mean_x, mean_x + stdx) else c(mean_x - stdx, mean_x + stdx)
for (l in lines) for (x in xs) points[[length(points) + 1]] <- list(name = l$name, x = x, r = tested(l$intercept + x * l$slope))
if (any(sapply(points, function(p) !is.na(p$r[1])))) {
  section("Predicted values", c("line", "X", "Y", "SE", "lower", "upper"))
  for (p in points) out(p$name, cell(p$x), cell(p$r[1]), cell(p$r[2]), cell(p$r[5]), cell(p$r[6]))
}

test_table("Slope differences", "lines", differences("slope"), holm = TRUE)
test_table("Intercept differences", "lines", differences("intercept"), holm = TRUE)

# Where c0 + u c1 is significant: the u with (c0 + u c1)^2 > crit^2 Var(c0 + u c1),
# a quadratic A u^2 + B u + C > 0, its roots found without cancellation.
solve_region <- function(A, B, C) {
  if (A == 0) {
    if (B == 0) return(list(kind = if (C > 0) "everywhere" else "nowhere"))
    return(list(kind = if (B > 0) "above" else "below", lower = -(C / B)))
  }
  d <- B^2 - 4 * A * C
  if (d < 0) return(list(kind = if (A > 0) "everywhere" else "nowhere"))
  if (d == 0) {
    if (A < 0) return(list(kind = "nowhere"))
    return(list(kind = "outside", lower = -(B / A) / 2, upper = -(B / A) / 2))
  }
  q <- -(B + (if (B < 0) -sqrt(d) else sqrt(d))) / 2
  r <- sort(c(q / A, C / q))
  list(kind = if (A > 0) "outside" else "between", lower = r[1], upper = r[2])
}
region_of <- function(c0, c1, v0, c01, v1, t = crit) solve_region(c1^2 - t^2 * v1, 2 * (c0 * c1 - t^2 * c01), c0^2 - t^2 * v0)
# Variances that no positive semi-definite matrix gives, or none at all.
no_region <- function(v0, c01, v1) v0 < 0 || v1 < 0 || v0 * v1 - c01^2 + v0 * v1 * 1e-12 < 0 || (v0 == 0 && c01 == 0 && v1 == 0)

# The critical value that controls the false-discovery rate over the observed
# values: the effect's p at fdr_points values from..to, the largest i with the
# i-th smallest p <= alpha i / fdr_points (Benjamini-Hochberg), and the
# two-sided critical value at alpha i / fdr_points. 0 when there is none.
fdr_critical <- function(c0, c1, v0, c01, v1, from, to) {
  u <- from + (to - from) * (0:(fdr_points - 1)) / (fdr_points - 1)
  v <- v0 + 2 * u * c01 + u^2 * v1
  e <- c0 + u * c1
  if (any(!is.finite(v) | v < 0 | !is.finite(e))) return(0)
  p <- ifelse(v > 0, 2 * pt(abs(e / sqrt(pmax(v, 0))), df, lower.tail = FALSE), ifelse(e == 0, 1, 0))
  p <- sort(p)
  alpha <- 1 - level
  i <- fdr_points
  while (i > 1 && !(p[i] <= alpha * i / fdr_points)) i <- i - 1
  qt(1 - alpha * i / fdr_points / 2, df)
}

regions <- lapply(effects, function(e) {
  if (!usable(e$P) || !usable(e$Q)) return(NULL)
  v0 <- quad(e$P); c01 <- quad(e$P, e$Q); v1 <- quad(e$Q)
  if (no_region(v0, c01, v1)) return(NULL)
  c0 <- sum(e$P * b); c1 <- sum(e$Q * b)
  t <- if (fdr && !is.null(e$observed)) fdr_critical(c0, c1, v0, c01, v1, e$observed[1], e$observed[2]) else 0
  adjusted <- t > 0
  c(region_of(c0, c1, v0, c01, v1, if (adjusted) t else crit), list(adjusted = adjusted, critical = t))
})

# The notes on a region's bounds: beyond the observed values, or more than 3 SD
# from the mean when none were typed; and the critical value of an adjusted one.
note_number <- function(x, d) toupper(sprintf(paste0("%.", d, "g"), x))
bound_note <- function(e, x) {
  if (!is.null(e$observed)) {
    return(if (x < e$observed[1] || x > e$observed[2]) paste("beyond the observed values of", e$words) else "")
  }
  in_sd <- abs((x - e$mean) / e$sd)
  if (e$sd > 0 && in_sd > 3) return(paste0(note_number(in_sd, 3), " SD from the mean, far from the typical values of ", e$words))
  ""
}
bounds_of <- function(r) {
  if (r$kind %in% c("outside", "between")) c(r$lower, r$upper) else if (r$kind %in% c("above", "below")) r$lower else numeric()
}
region_note <- function(e, r) {
  notes <- character()
  bs <- bounds_of(r)
  for (i in seq_along(bs)) {
    n <- bound_note(e, bs[i])
    if (nzchar(n)) notes <- c(notes, paste0("bound ", i, ": ", n))
  }
  if (r$adjusted) notes <- c(notes, paste("false-discovery rate controlled, critical value", note_number(r$critical, 4)))
  paste(notes, collapse = "; ")
}

if (any(!sapply(regions, is.null))) {
  notes <- mapply(function(e, r) if (is.null(r)) "" else region_note(e, r), effects, regions)
  with_notes <- any(nzchar(notes))
  section("Regions of significance", c("effect", "along", "held at", "kind", "bound 1", "bound 2", "bound 1 in SD",
                                       "bound 2 in SD", if (with_notes) "note"))
  for (i in seq_along(effects)) {
    r <- regions[[i]]
    if (is.null(r)) next
    e <- effects[[i]]
    bs <- bounds_of(r)
    sd_known <- e$sd > 0
    in_sd <- function(k) if (length(bs) >= k && sd_known) cell((bs[k] - e$mean) / e$sd) else ""
    out(e$name, e$along, e$held, r$kind, if (length(bs) >= 1) cell(bs[1]) else "", if (length(bs) >= 2) cell(bs[2]) else "",
        in_sd(1), in_sd(2), if (with_notes) notes[i])
  }
}

# Where lines k and l cross, with the delta-method SE and Fieller's interval:
# the X where the difference of the two lines is not significant.
cross <- function(k, l, name) {
  dm <- lines[[k]]$intercept - lines[[l]]$intercept
  ds <- lines[[k]]$slope - lines[[l]]$slope
  a <- sum(dm * b); s <- sum(ds * b)
  if (s == 0 || !usable(dm) || !usable(ds)) return(NULL)
  x <- -a / s
  va <- quad(dm); cab <- quad(dm, ds); vb <- quad(ds)
  if (no_region(va, cab, vb)) return(NULL)
  se <- sqrt(max(0, va + 2 * x * cab + x^2 * vb)) / abs(s)
  r <- region_of(a, s, va, cab, vb)
  f <- switch(r$kind,
    outside = list(kind = "interval", lower = r$lower, upper = r$upper),
    between = list(kind = "outside", lower = r$lower, upper = r$upper),
    above = list(kind = "below", lower = r$lower, upper = r$lower),
    below = list(kind = "above", lower = r$lower, upper = r$lower),
    nowhere = list(kind = "everywhere", lower = NA, upper = NA),
    everywhere = list(kind = "interval", lower = x, upper = x))
  c(list(name = name, x = x, se = se), f)
}
judge <- function(c) {
  if (any(is.na(x_range))) return("undetermined")
  lo <- min(x_range); hi <- max(x_range)
  ordinal <- switch(c$kind,
    interval = if (lo <= c$lower && c$upper <= hi) return("disordinal") else c$upper < lo || c$lower > hi,
    outside = c$lower < lo && hi < c$upper,
    below = c$lower < lo,
    above = c$lower > hi,
    FALSE)
  if (ordinal) "ordinal" else "undetermined"
}

crossings <- list()
if (all_meet) {
  # One crossing for all lines: from the pair whose slopes differ most.
  best <- 0
  for (p in pairs) {
    d <- abs(sum((lines[[p[1]]]$slope - lines[[p[2]]]$slope) * b))
    if (d > best) { best <- d; bp <- p }
  }
  if (best > 0) crossings <- list(cross(bp[1], bp[2], "all lines"))
} else {
  crossings <- lapply(pairs, function(p) cross(p[1], p[2], pair_name(p)))
}
crossings <- Filter(Negate(is.null), crossings)
if (length(crossings) > 0) {
  section("Crossovers", c("lines", "X", "SE", "kind", "lower", "upper", "verdict"))
  for (c in crossings) {
    lower <- c$kind %in% c("interval", "outside", "above")
    upper <- c$kind %in% c("interval", "outside", "below")
    out(c$name, cell(c$x), cell(c$se), c$kind, if (lower) cell(c$lower) else "",
        if (upper) cell(if (c$kind == "below") c$lower else c$upper) else "", judge(c))
  }
}
)R";

std::string Vector(const std::vector<double>& v, std::size_t n) {
  std::string out = "c(";
  for (std::size_t i = 0; i < n; ++i) out += (i > 0 ? ", " : "") + RNumber(i < v.size() ? v[i] : 0.0);
  return out + ")";
}

std::string Weights(const Probe& p) {
  std::string out = "# The weights, in the model's order, as the form computed with them:\n";
  for (const ModelWeight& w : p.weights) out += "#   " + w.box + ": " + w.meaning + "\n";
  out += "b <- c(\n";
  for (std::size_t i = 0; i < p.weights.size(); ++i) {
    out += "  " + RString(p.weights[i].box) + " = " + RNumber(p.weights[i].value) +
           (i + 1 < p.weights.size() ? ",\n" : "\n");
  }
  return out + ")\n";
}

std::string Lines(const Probe& p) {
  const std::size_t n = p.weights.size();
  std::string out =
      "\n# Each line's slope and intercept as combinations of the weights, and the X of\n"
      "# its two plotting points.\nlines <- list(\n";
  for (std::size_t k = 0; k < p.lines.size(); ++k) {
    const ProbeLine& l = p.lines[k];
    out += "  list(name = " + RString(l.name) + ",\n       slope = " + Vector(l.slope, n) +
           ",\n       intercept = " + Vector(l.intercept, n) + ",\n       x1 = " + RNumber(l.line.x1) +
           ", x2 = " + RNumber(l.line.x2) + ")" + (k + 1 < p.lines.size() ? ",\n" : "\n");
  }
  return out + ")\n";
}

std::string Matrix(const Analysis& a) {
  const stats::WeightCovariance& v = a.covariance;
  const Probe& p = a.probe;
  std::string out =
      "\n# Their covariance matrix, from the pasted one with its rows as chosen in the\n"
      "# window (0 for a weight the paste has no row for).\nV <- matrix(c(\n";
  for (std::size_t i = 0; i < v.size; ++i) {
    std::string row;
    for (std::size_t j = 0; j < v.size; ++j) row += (j > 0 ? ", " : "") + RNumber(v.At(i, j));
    out += "  " + row + (i + 1 < v.size ? ",\n" : "\n");
  }
  out += "), nrow = " + std::to_string(v.size) + ", byrow = TRUE, dimnames = list(names(b), names(b)))\n";
  out += "# Whether the paste has a row for each weight: what needs one it has not gets no number.\nknown <- c(";
  for (std::size_t i = 0; i < p.weights.size(); ++i) {
    out += (i > 0 ? ", " : "") + RString(p.weights[i].box) + " = " + (i < v.known.size() && v.known[i] ? "TRUE" : "FALSE");
  }
  out += ")\n\n# The reference distribution (df Inf: the standard normal) and the confidence level.\n";
  out += "df <- " + (a.reference.normal ? std::string("Inf") : RNumber(a.reference.df)) + "\n";
  return out + "level <- " + RNumber(a.reference.level) + "\n";
}

std::string Effects(const Analysis& a) {
  const Probe& p = a.probe;
  const std::size_t n = p.weights.size();
  std::string out = "\n# The predicted values are at X = mean_x - stdx and mean_x + stdx (and mean_x\n"
                    "# itself when a mean of X was typed).\nstdx <- " +
                    RNumber(p.stdx) + "\nmean_x <- " + RNumber(p.meanX) +
                    "\nmean_x_typed <- " + (p.meanXTyped ? "TRUE" : "FALSE") +
                    "\n# Whether all lines meet in one point: then one crossing stands for all.\nall_meet <- " +
                    (p.linesMeet ? "TRUE" : "FALSE") +
                    "\n# The effects along a moderator, e(u) = sum(P * b) + u * sum(Q * b), for the\n"
                    "# regions of significance; along and held: the moderator and what is held, in\n"
                    "# the form's words; words: the moderator by the name the paste gives, for the\n"
                    "# notes; sd and mean: the moderator's (sd 0: not known); observed: its lowest\n"
                    "# and highest value observed, when typed.\neffects <- list(\n";
  for (std::size_t k = 0; k < p.effects.size(); ++k) {
    const LinearEffect& e = p.effects[k];
    const stats::EffectRegion* r = k < a.regions.size() ? &a.regions[k] : nullptr;
    const std::string observed = r != nullptr && r->observed
                                     ? "c(" + RNumber(r->observedFrom) + ", " + RNumber(r->observedTo) + ")"
                                     : std::string("NULL");
    out += "  list(name = " + RString(e.name) + ", along = " + RString(e.along) + ", held = " + RString(e.heldAt) +
           ", words = " + RString(AlongWords(e)) + ",\n       sd = " + RNumber(e.sd) +
           ", mean = " + RNumber(e.mean) + ", observed = " + observed + ",\n       P = " + Vector(e.p, n) +
           ",\n       Q = " + Vector(e.q, n) + ")" + (k + 1 < p.effects.size() ? ",\n" : "\n");
  }
  out += ")\n# Whether the regions control the false-discovery rate over the observed values,\n"
         "# and over how many values of the moderator.\nfdr <- " +
         std::string(a.fdr ? "TRUE" : "FALSE") + "\nfdr_points <- " + std::to_string(kFdrPoints) + "\n";
  out += "# The X range a crossing is judged against: the lines figure's, or the observed\n# values of X when typed.\n";
  if (!a.verdictRangeKnown) {
    return out + "x_range <- c(NA, NA)  # the window has no range" +
           (a.lines.note.empty() ? std::string() : ": " + RString(a.lines.note)) + "\n";
  }
  return out + "x_range <- c(" + RNumber(a.verdictFrom) + ", " + RNumber(a.verdictTo) + ")\n";
}

void AppendUtf8Escape(std::string& out, const std::string& text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
  unsigned code = c & (extra == 3 ? 0x07u : extra == 2 ? 0x0Fu : 0x1Fu);
  for (int k = 1; k <= extra && i + 1 < text.size(); ++k) code = (code << 6) | (byte(++i) & 0x3Fu);
  char buf[16];
  std::snprintf(buf, sizeof buf, "\\u{%04x}", code);
  out += buf;
}

}  // namespace

std::string RNumber(double v) {
  if (std::isnan(v)) return "NaN";
  if (std::isinf(v)) return v > 0 ? "Inf" : "-Inf";
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17);
  return ec == std::errc() ? std::string(buf, end) : "NaN";
}

std::string RString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += text[i];
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02x", c);
      out += buf;
    } else if (c >= 0x80) {
      AppendUtf8Escape(out, text, i);
    } else {
      out += text[i];
    }
  }
  return out + "\"";
}

std::string RCode(const Analysis& a, const RCodeHeader& h) {
  const Probe& p = a.probe;
  std::string out = "# Marvane " + h.programVersion + ": the numbers of the plot window of the form " + p.form + " (" +
                    p.caption + "), in base R: no packages needed.\n# Written " + h.written +
                    ". Run it as it is (Rscript FILE.R, or source() it in R).\n\n";
  out += Weights(p) + Lines(p);
  if (!a.ready) {
    return out +
           "\n# The window had no covariance matrix of the weights to test the lines with:\n"
           "# this script gives the lines only.\n" +
           kLinesCode;
  }
  return out + Matrix(a) + Effects(a) + kLinesCode + kTestsCode;
}

}  // namespace marvane
